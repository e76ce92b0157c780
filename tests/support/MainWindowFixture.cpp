#include "MainWindowFixture.h"

#include "CardImages.h"
#include "RandomBelow.h"
#include "TApplication.h"
#include "TickCounter.h"

#include <QDir>
#include <QFile>
#include <QTest>

int RecordingJPEG::Loads = 0;

void RecordingJPEG::LoadFromFile(const std::string& path) {
    TJPEGImage::LoadFromFile(path);
    Path = path;
    ++Loads;
}

QString PictureName(const TImage* image) {
    const auto* recorded = dynamic_cast<const RecordingJPEG*>(image->Picture->Graphic());
    if (!recorded || recorded->Path.empty())
        return "initial";
    QString name = QString::fromStdString(recorded->Path);
    name.remove(QString::fromLatin1(CardImageFolder));
    name.chop(int(qstrlen(".jpg")));
    return name;
}

QString CardName(CardCode code) {
    QString name = QString::fromStdString(CardImagePath(code));
    name.remove(QString::fromLatin1(CardImageFolder));
    name.chop(int(qstrlen(".jpg")));
    return name;
}

std::uint32_t StepClock::ticks = 0;

StepClock::StepClock() {
    SetTickSource(&StepClock::Now);
}
StepClock::~StepClock() {
    SetTickSource(nullptr);
}
std::uint32_t StepClock::Now() {
    return ++ticks;
}

MainWindowFixture::MainWindowFixture() : previousDirectory(QDir::currentPath()) {
    static const bool registered = [] {
        const TPicture::TGraphicFactory recording = [] {
            return std::unique_ptr<TGraphic>(std::make_unique<RecordingJPEG>());
        };
        TPicture::RegisterFileFormat("jpg", recording);
        return true;
    }();
    Q_UNUSED(registered);

    const QDir source(QUENDRAVO_PICTURE_DIR);
    QDir target(folder.path());
    target.mkdir("Tamselspiel");
    for (const QString& file : source.entryList(QDir::Files))
        QFile::copy(source.filePath(file), target.filePath("Tamselspiel/" + file));
    QDir::setCurrent(folder.path());

    // Everything as at the program's start.
    ShuffleSeed = 0;
    form = std::make_unique<TForm1>();
    Form1 = form.get();
    Application->Dispatch([this] { form->DoCreate(); });
    form->Show();
    if (!QTest::qWaitForWindowExposed(form->Window()))
        qFatal("the main window was not shown");
}

MainWindowFixture::~MainWindowFixture() {
    form.reset();
    Form1 = nullptr;
    QDir::setCurrent(previousDirectory);
}

QString MainWindowFixture::PictureFile(const QString& name) const {
    return folder.filePath("Tamselspiel/" + name);
}

void MainWindowFixture::RemovePicture(const QString& name) const {
    QFile::remove(PictureFile(name));
}

void MainWindowFixture::EmptyPicture(const QString& name) const {
    QFile file(PictureFile(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot empty a picture");
}

void MainWindowFixture::Click(TButton* button) {
    QTest::mouseClick(button->Widget(), Qt::LeftButton);
}

void MainWindowFixture::SetSpeedToFastest() {
    form->ScrollBar1->Widget()->setFocus();
    QTest::keyClick(form->ScrollBar1->Widget(), Qt::Key_Home);
}
