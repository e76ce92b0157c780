#include "PictureFile.h"

#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

std::string AsString(const std::vector<unsigned char>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

// Every case works in a fresh folder that is also the working directory, since picture paths are
// relative to it.
class TestPictureFile : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::string previousDir_;

private slots:
    void init();
    void cleanup();

    void findsFile_data();
    void findsFile();
    void refuses_data();
    void refuses();
    void boundsSize_data();
    void boundsSize();
};

void TestPictureFile::init() {
    char buffer[4096];
    QVERIFY(::getcwd(buffer, sizeof buffer) != nullptr);
    previousDir_ = buffer;
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    QVERIFY(::chdir(dir_->path().toStdString().c_str()) == 0);

    QVERIFY(::mkdir("TAMSELSPIEL", 0755) == 0);
    WriteFile("TAMSELSPIEL/HERZ_KOENIG.JPG", "koenig");
    QVERIFY(::mkfifo("TAMSELSPIEL/FIFO.JPG", 0644) == 0);
    QVERIFY(::symlink("/dev/null", "TAMSELSPIEL/GERAET.JPG") == 0);
    WriteFile("TAMSELSPIEL/GESPERRT.JPG", "gesperrt");
    QVERIFY(::chmod("TAMSELSPIEL/GESPERRT.JPG", 0) == 0);

    QVERIFY(::mkdir("bilder", 0755) == 0);
    WriteFile("bilder/Karo.jpg", "exakt");
    WriteFile("bilder/KARO.JPG", "gross");
    WriteFile("bilder/karo.jpg", "klein");

    // A file and a folder that differ only in case; only the folder can lead further.
    WriteFile("ORDNER", "datei");
    QVERIFY(::mkdir("ordner", 0755) == 0);
    WriteFile("ordner/pik.jpg", "pik");
}

void TestPictureFile::cleanup() {
    QVERIFY(::chdir(previousDir_.c_str()) == 0);
    dir_.reset();
}

void TestPictureFile::findsFile_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("content");
    QTest::newRow("case differs everywhere") << "Tamselspiel\\herz_koenig.jpg"
                                             << "koenig";
    QTest::newRow("forward slashes") << "tamselspiel/Herz_Koenig.JPG"
                                     << "koenig";
    QTest::newRow("exact name wins") << "bilder\\Karo.jpg"
                                     << "exakt";
    QTest::newRow("several match: smallest") << "bilder\\kArO.JPG"
                                             << "gross";
    QTest::newRow("through a parent") << "TAMSELSPIEL\\..\\Bilder\\karo.jpg"
                                      << "klein";
    QTest::newRow("folder over file") << "Ordner\\PIK.JPG"
                                      << "pik";
    // <dir> stands for the test's folder, which does not exist yet when the rows are made.
    QTest::newRow("absolute") << "<dir>\\BILDER\\KARO.JPG"
                              << "gross";
}

void TestPictureFile::findsFile() {
    QFETCH(QString, path);
    QFETCH(QString, content);
    path.replace("<dir>", dir_->path());
    QCOMPARE(QString::fromStdString(AsString(ReadPictureFile(path.toStdString()))), content);
}

void TestPictureFile::refuses_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("missing file") << "Tamselspiel\\fehlt.jpg";
    QTest::newRow("missing folder") << "Nirgends\\herz_koenig.jpg";
    QTest::newRow("folder") << "Tamselspiel";
    QTest::newRow("file named as a folder") << "Tamselspiel\\herz_koenig.jpg\\";
    // Would block in open() until a writer came, were it opened like a file.
    QTest::newRow("FIFO") << "Tamselspiel\\fifo.jpg";
    QTest::newRow("device") << "Tamselspiel\\geraet.jpg";
    QTest::newRow("no permission") << "Tamselspiel\\gesperrt.jpg";
    QTest::newRow("empty") << "";
}

void TestPictureFile::refuses() {
    QFETCH(QString, path);
    if (QTest::currentDataTag() == QLatin1String("no permission") && ::geteuid() == 0)
        QSKIP("root reads files regardless of their mode");
    const std::string given = path.toStdString();
    try {
        ReadPictureFile(given);
        QFAIL("no error");
    } catch (const EFOpenError& e) {
        QCOMPARE(QString::fromStdString(e.Message()),
                 QString::fromUtf8("Datei %1 kann nicht ge\xC3\xB6"
                                   "ffnet werden")
                     .arg(path));
    }
}

void TestPictureFile::boundsSize_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("limit"); // -1: the default
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << qint64(0) << qint64(16) << true;
    QTest::newRow("at the limit") << qint64(16) << qint64(16) << true;
    QTest::newRow("one past") << qint64(17) << qint64(16) << false;
    QTest::newRow("default, one past") << qint64(kMaxPictureFileBytes) + 1 << qint64(-1) << false;
    QTest::newRow("default, 100 MB") << qint64(100'000'000) << qint64(-1) << false;
}

void TestPictureFile::boundsSize() {
    QFETCH(qint64, size);
    QFETCH(qint64, limit);
    QFETCH(bool, accepted);
    // Sparse, so that the large cases cost no disk.
    FILE* f = std::fopen("gross.jpg", "wb");
    QVERIFY(f != nullptr);
    QVERIFY(::ftruncate(::fileno(f), size) == 0);
    std::fclose(f);

    try {
        const auto bytes = limit < 0 ? ReadPictureFile("GROSS.JPG")
                                     : ReadPictureFile("GROSS.JPG", std::size_t(limit));
        QVERIFY(accepted);
        QCOMPARE(qint64(bytes.size()), size);
    } catch (const EPictureFileTooLarge&) {
        QVERIFY(!accepted);
    }
}

QTEST_GUILESS_MAIN(TestPictureFile)
#include "tst_picturefile.moc"
