// A fresh main window, as right after the program's start, in a private copy of the picture
// folder that a test may spoil.
#pragma once

#include "CardStack.h"
#include "TForm1.h"
#include "TJPEGImage.h"

#include <QString>
#include <QTemporaryDir>

#include <memory>

// A JPEG picture that remembers where it came from, so tests can tell which file a box shows.
class RecordingJPEG : public TJPEGImage {
public:
    void LoadFromFile(const std::string& path) override;
    std::string Path;
    static int Loads; // successful file loads, process-wide
};

// "herz_koenig" for "Tamselspiel\herz_koenig.jpg"; "initial" for the window's stored pictures.
QString PictureName(const TImage* image);
QString CardName(CardCode code);

// Steps the tick counter by one on every read, so pauses take a fixed number of dispatch rounds
// instead of real time.
class StepClock {
public:
    StepClock();
    ~StepClock();
    static std::uint32_t Now();
    static std::uint32_t ticks;
};

class MainWindowFixture {
public:
    MainWindowFixture();
    ~MainWindowFixture();

    TForm1& Form() { return *form; }

    // A picture-folder file of the private copy, e.g. "stapel1.jpg".
    QString PictureFile(const QString& name) const;
    void RemovePicture(const QString& name) const;
    void EmptyPicture(const QString& name) const;

    // Real input on the real controls.
    static void Click(TButton* button);
    void SetSpeedToFastest();

    QString Count() const { return QString::fromStdString(form->Label4->Caption()); }

private:
    QTemporaryDir folder;
    QString previousDirectory;
    std::unique_ptr<TForm1> form;
};
