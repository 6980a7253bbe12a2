// Image windows: Open, Save As, Print, the simulations and "Original image",
// the window's size and the File items it switches.
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>

#include "core/colour_data.h"
#include "core/engine_link.h"
#include "shell/app_globals.h"
#include "shell/frm_image_frame.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"
#include "tests/support/gui_test.h"
#include "tests/support/pipe_watchdog.h"

namespace {

class ImageTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        JmEngine::UseLibrary("libJmEngine.so");
        ASSERT_TRUE(StartProgram());
    }
    void TearDown() override {
        JmEngine::UseLibrary("libJmEngine.so");
        GuiTest::TearDown();
    }
    // Black, white, grey and a colour in tiles of ten pixels.
    static QImage Pattern(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        const QRgb tiles[] = {0xFF000000, 0xFFFFFFFF, 0xFF808080, 0xFF3060C0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) image.setPixel(x, y, tiles[(x / 10 + y / 10) % 4]);
        return image;
    }
    QString Write(const QString& name, const QImage& image, const char* format = "BMP") {
        EXPECT_TRUE(image.save(WorkDir() + "/" + name, format));
        return WorkDir() + "/" + name;
    }
    void Trigger(const char* item) { MainForm->Item(item)->trigger(); }
    frmImageFrame* Open(const QString& name) {
        ChooseFile(name);
        Trigger("mnuFileOpen");
        return ActiveImageFrame();
    }
    QList<QMdiSubWindow*> Windows() const { return MainForm->mdiArea->subWindowList(); }
    static QImage Shown(frmImageFrame* window) {
        return window->Picture1->Image().convertToFormat(QImage::Format_RGB32);
    }
    bool ImageItemsEnabled() const {
        const bool on = MainForm->mnuFileSimulation->menuAction()->isEnabled();
        EXPECT_EQ(MainForm->mnuFileSaveAs->isEnabled(), on);
        EXPECT_EQ(MainForm->mnuFilePrint->isEnabled(), on);
        return on;
    }
};

TEST_F(ImageTest, OpenGoesByTheLastThreeLettersAndLeavesNoWindowWhenItFails) {
    Write("Photo.BMP", Pattern(40, 30));
    Write("shot.jpg", Pattern(40, 30), "JPG");
    Write("shot.jpeg", Pattern(40, 30), "JPG");
    QFile(WorkDir() + "/broken.bmp").open(QIODevice::WriteOnly);
    PipeWatchdog pipe((WorkDir() + "/pipe.bmp").toStdString());
    const struct {
        const char* name;
        int windows;
        const char* caption;  // null: no picture either
        bool folderMoves;
    } rows[] = {{"Photo.BMP", 1, "Photo.BMP", true}, {"shot.jpg", 2, "shot.jpg", true},
                {"shot.jpeg", 3, nullptr, true},     {"broken.bmp", 3, nullptr, false},
                {"missing.jpg", 3, nullptr, false},  {"pipe.bmp", 3, nullptr, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LastImageDir = "/before/";
        if (!row.folderMoves) AnswerBox(vbOK);
        Open(row.name);
        EXPECT_EQ(Windows().size(), row.windows);
        EXPECT_EQ(LastImageDir, row.folderMoves ? WorkDir() + "/" : "/before/");
        if (!row.folderMoves) continue;
        frmImageFrame* window = ActiveImageFrame();
        EXPECT_EQ(window->F_Name, WorkDir() + "/" + row.name);
        EXPECT_EQ(window->windowTitle(), row.caption ? row.caption : "");
        EXPECT_EQ(window->Picture1->Picture().isNull(), row.caption == nullptr);
    }
    const ShownFileDialog& dialog = FileDialogs().front();
    EXPECT_EQ(dialog.title + dialog.initDir + dialog.filter,
              "Open/before/*.bmp|*.bmp|*.jpg|*.jpg|");
    EXPECT_FALSE(pipe.Fired()) << "Open waited on a pipe";
}

TEST_F(ImageTest, SaveAsWritesThePictureAsBitmapOnlyAndMovesTheFolderEitherWay) {
    const QImage picture = Pattern(24, 16);
    Write("in.bmp", picture);
    QDir(WorkDir()).mkdir("sub");
    Open("in.bmp");
    for (auto& word : ColorDataSet.C_Gamma.Words) word = 0;
    Trigger("mnuFile_ceramicGamma");  // what was drawn is not what is saved
    const struct {
        const char* chosen;
        bool written;
        const char* folder;
    } rows[] = {
        {"sub/OUT.BMP", true, "sub/"}, {"out.png", false, ""}, {"sub/out.jpg", false, "sub/"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.chosen);
        LastImageDir = "/before/";
        ChooseFile(row.chosen);
        Trigger("mnuFileSaveAs");
        EXPECT_EQ(QFile::exists(WorkDir() + "/" + row.chosen), row.written);
        EXPECT_EQ(LastImageDir, WorkDir() + "/" + row.folder);
    }
    EXPECT_EQ(QImage(WorkDir() + "/sub/OUT.BMP").convertToFormat(QImage::Format_RGB32), picture);
    EXPECT_EQ(FileDialogs().back().title + FileDialogs().back().filter, "Save*.bmp|*.bmp|");

    // Nothing to save (a window opened without picture), or a cancel: the folder stays.
    Write("e.jpeg", picture, "JPG");
    Open("e.jpeg");
    LastImageDir = "/before/";
    ChooseFile("none.bmp");
    AnswerBox(vbOK);
    Trigger("mnuFileSaveAs");
    CancelDialog();
    Trigger("mnuFileSaveAs");
    EXPECT_FALSE(QFile::exists(WorkDir() + "/none.bmp"));
    EXPECT_EQ(LastImageDir, "/before/");
}

// Save As keeps the rules of every save, also for root: a link to a device node, a file
// without write permission and a folder are left as they are, with the window's message.
TEST_F(ImageTest, SaveAsLeavesADeviceAProtectedFileAndAFolderAsTheyAre) {
    const QImage picture = Pattern(24, 16);
    Open(Write("in.bmp", picture));
    const std::string work = WorkDir().toStdString();
    const std::string node = work + "/node";
    ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    ASSERT_EQ(::symlink(node.c_str(), (work + "/device.bmp").c_str()), 0);
    const QString locked = Write("locked.bmp", Pattern(8, 8));
    ASSERT_TRUE(
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    struct stat before {};
    ASSERT_EQ(::stat(locked.toLocal8Bit().constData(), &before), 0);
    QDir(WorkDir()).mkdir("folder.bmp");

    for (const char* name : {"device.bmp", "locked.bmp", "folder.bmp"}) {
        SCOPED_TRACE(name);
        LastImageDir = "/before/";
        ChooseFile(name);
        AnswerBox(vbOK);
        Trigger("mnuFileSaveAs");
        ASSERT_FALSE(Boxes().empty());
        EXPECT_EQ(Boxes().back().text,
                  QStringLiteral("The picture cannot be saved to %1/%2.").arg(WorkDir(), name));
        EXPECT_EQ(LastImageDir, "/before/");
    }
    struct stat info {};
    ASSERT_EQ(::stat(node.c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << "the device node is still one";
    ASSERT_EQ(::stat(locked.toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_ino, before.st_ino);
    EXPECT_EQ(info.st_mode, before.st_mode);
    EXPECT_EQ(QImage(locked).size(), QSize(8, 8)) << "the protected file keeps its picture";
    EXPECT_EQ(QDir(WorkDir()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
              QStringList({"device.bmp", "folder.bmp", "in.bmp", "locked.bmp", "node"}))
        << "no temporary file left behind";

    // A file that may be written is replaced by a bitmap that opens again.
    ChooseFile("in.bmp");
    Trigger("mnuFileSaveAs");
    EXPECT_EQ(QImage(WorkDir() + "/in.bmp").convertToFormat(QImage::Format_RGB32), picture);
}

TEST_F(ImageTest, EachSimulationStartsFromTheFileAndOriginalImageNeedsNoEngine) {
    const QImage picture = Pattern(30, 20);
    const QString path = Write("p.bmp", picture);
    frmImageFrame* window = Open("p.bmp");
    // C_Gamma halves every level; applied to its own output it would halve again.
    for (int p = 0; p < PlaneCount; ++p)
        for (int i = 0; i < CurvePoints; ++i)
            ColorDataSet.C_Gamma(i, p) = static_cast<int16_t>(i * 5000 / 255.0 + 0.5);
    Trigger("mnuFile_ceramicGamma");
    const QImage once = Shown(window);
    EXPECT_EQ(once.pixel(0, 0), 0xFF7F7F7Fu);   // black: ink 255 -> 127.5 -> 128
    EXPECT_EQ(once.pixel(10, 0), 0xFFFFFFFFu);  // white stays white
    Trigger("mnuFile_ceramicGamma");
    EXPECT_EQ(Shown(window), once);

    // Without the engine a simulation says why and changes nothing; Original image works.
    JmEngine::UseLibrary("libJmEngineMissing.so");
    AnswerBox(vbOK);
    Trigger("mnuFile_omegaGamma");
    EXPECT_TRUE(Boxes().back().text.contains("libJmEngineMissing.so"));
    EXPECT_EQ(Shown(window), once);
    ASSERT_TRUE(picture.mirrored(true, false).save(path, "BMP"));
    Trigger("mnuFile_originalimage");
    EXPECT_EQ(Shown(window), picture.mirrored(true, false));

    // A file that is gone cannot be reloaded: the window keeps what it shows.
    ASSERT_TRUE(QFile::remove(path));
    AnswerBox(vbOK);
    Trigger("mnuFile_originalimage");
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Shown(window), picture.mirrored(true, false));
}

TEST_F(ImageTest, TheWindowTakesThePictureSizeOnce) {
    const QString path = Write("p.bmp", Pattern(320, 200));
    frmImageFrame* window = Open("p.bmp");
    EXPECT_EQ(Windows().front()->size(), QSize(320, 200));
    ASSERT_TRUE(Pattern(200, 150).save(path, "BMP"));
    Trigger("mnuFile_ceramicGamma");
    EXPECT_EQ(window->Picture1->size(), QSize(200, 150));
    EXPECT_EQ(Windows().front()->size(), QSize(320, 200));
    // A window opened without a picture takes the first one it gets.
    Write("q.jpeg", Pattern(260, 180), "JPG");
    Open("q.jpeg");
    Trigger("mnuFile_originalimage");
    EXPECT_EQ(Windows().back()->size(), QSize(260, 180));
}

TEST_F(ImageTest, ImageItemsAreOnExactlyWhileAnImageWindowIsActive) {
    Write("a.bmp", Pattern(40, 30));
    EXPECT_FALSE(ImageItemsEnabled());
    Open("a.bmp");
    QMdiSubWindow* first = Windows().back();
    Open("a.bmp");
    QMdiSubWindow* second = Windows().back();
    EXPECT_TRUE(ImageItemsEnabled());
    MainForm->ShowChild(new QLabel("an editor"));
    QMdiSubWindow* editor = Windows().back();
    EXPECT_FALSE(ImageItemsEnabled());
    for (QMdiSubWindow* window : {first, second, editor, second, first}) {
        MainForm->mdiArea->setActiveSubWindow(window);
        EXPECT_EQ(ImageItemsEnabled(), window != editor);
    }
    editor->close();
    first->close();
    EXPECT_TRUE(ImageItemsEnabled());
    second->close();
    EXPECT_FALSE(ImageItemsEnabled());
}

TEST_F(ImageTest, PrintPutsTheShownPictureOnThePageAndItsFlagsStay) {
    Write("p.bmp", Pattern(200, 120));
    Open("p.bmp");
    const QString pdf = WorkDir() + "/page.pdf";
    MainForm->CommonDialog1.Printer().setOutputFormat(QPrinter::PdfFormat);
    MainForm->CommonDialog1.Printer().setOutputFileName(pdf);
    CancelDialog();
    Trigger("mnuFilePrint");
    EXPECT_FALSE(QFile::exists(pdf));
    ConfirmPrintDialog();
    Trigger("mnuFilePrint");
    QFile page(pdf);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF") && bytes.contains("/Subtype /Image") &&
                bytes.contains("/Width 200"));
    // Open, the two print dialogs, then a Save As that still has the print flags.
    ChooseFile("q.bmp");
    Trigger("mnuFileSaveAs");
    ASSERT_EQ(FileDialogs().size(), 4u);
    EXPECT_EQ(FileDialogs()[0].flags, 0);
    for (std::size_t i = 1; i < 4; ++i) EXPECT_EQ(FileDialogs()[i].flags, 0x80004);
}

}  // namespace
