// Image windows: Open, Save As and Print of the File menu, the simulations and
// "Original image", the window's size and the items it switches on and off.
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
#include "shell/common_dialog.h"
#include "shell/frm_image_frame.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"
#include "tests/support/gui_test.h"

namespace {

// The value of a curve point that the engine reads as level `level`.
int16_t ValueOf(double level) {
    return static_cast<int16_t>(level * 10000 / 255 + 0.5);
}

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

    // A picture with black, white, a grey and a colour, tiled to the size.
    static QImage Pattern(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        const QRgb tiles[] = {0xFF000000, 0xFFFFFFFF, 0xFF808080, 0xFF3060C0};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) image.setPixel(x, y, tiles[(x / 10 + y / 10) % 4]);
        return image;
    }
    QString Write(const QString& name, const QImage& image, const char* format) {
        const QString path = WorkDir() + "/" + name;
        EXPECT_TRUE(image.save(path, format));
        return path;
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
        const bool simulation = MainForm->mnuFileSimulation->menuAction()->isEnabled();
        EXPECT_EQ(MainForm->mnuFileSaveAs->isEnabled(), simulation);
        EXPECT_EQ(MainForm->mnuFilePrint->isEnabled(), simulation);
        return simulation;
    }
};

TEST_F(ImageTest, OpenShowsBitmapsAndJpegsByTheLastThreeLettersOfTheName) {
    const QImage picture = Pattern(40, 30);
    Write("Photo.BMP", picture, "BMP");
    Write("shot.jpg", picture, "JPG");
    Write("shot.jpeg", picture, "JPG");
    const struct {
        const char* name;
        bool shown;
        const char* caption;
    } rows[] = {
        {"Photo.BMP", true, "Photo.BMP"}, {"shot.jpg", true, "shot.jpg"}, {"shot.jpeg", false, ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        LastImageDir = "/nowhere/";
        frmImageFrame* window = Open(row.name);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->F_Name, WorkDir() + "/" + row.name);
        EXPECT_EQ(window->windowTitle(), row.caption);
        EXPECT_EQ(window->Picture1->Picture().isNull(), !row.shown);
        if (row.shown) {
            EXPECT_EQ(window->Picture1->size(), QSize(40, 30));
        }
        EXPECT_EQ(window->Picture1->pos(), QPoint(0, 0));
        EXPECT_EQ(LastImageDir, WorkDir() + "/");
    }
    EXPECT_EQ(Windows().size(), 3);
    EXPECT_EQ(Shown(ActiveImageFrame()).isNull(), true);
    const ShownFileDialog& dialog = FileDialogs().front();
    EXPECT_EQ(dialog.title, "Open");
    EXPECT_EQ(dialog.initDir, "/nowhere/");
    EXPECT_EQ(dialog.filter, "*.bmp|*.bmp|*.jpg|*.jpg|");
}

TEST_F(ImageTest, AnOpenThatFailsLeavesNoWindowAndTheFolderAsItWas) {
    QFile broken(WorkDir() + "/broken.bmp");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM not a picture");
    broken.close();
    LastImageDir = "/before/";
    CancelDialog();
    Trigger("mnuFileOpen");
    ChooseFile("missing.jpg");
    AnswerBox(vbOK);
    Trigger("mnuFileOpen");
    ChooseFile("broken.bmp");
    AnswerBox(vbOK);
    Trigger("mnuFileOpen");
    EXPECT_TRUE(Windows().isEmpty());
    EXPECT_EQ(LastImageDir, "/before/");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_TRUE(Boxes()[1].text.contains("broken.bmp"));
    EXPECT_FALSE(ImageItemsEnabled());
}

TEST_F(ImageTest, SaveAsWritesBitmapsOnlyAndMovesTheFolderEitherWay) {
    const QImage picture = Pattern(24, 16);
    Write("in.bmp", picture, "BMP");
    QDir(WorkDir()).mkdir("sub");
    frmImageFrame* window = Open("in.bmp");
    // What a simulation drew is not saved: the picture as loaded is.
    for (auto& word : ColorDataSet.C_Gamma.Words) word = 0;
    Trigger("mnuFile_ceramicGamma");
    ASSERT_NE(Shown(window), picture);

    const struct {
        const char* chosen;
        bool written;
        const char* folder;
    } rows[] = {{"sub/out.bmp", true, "sub/"},
                {"sub/OUT2.BMP", true, "sub/"},
                {"out.png", false, ""},
                {"sub/out.jpg", false, "sub/"},
                {"out.jpeg", false, ""}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.chosen);
        LastImageDir = "/before/";
        ChooseFile(row.chosen);
        Trigger("mnuFileSaveAs");
        const QString path = WorkDir() + "/" + row.chosen;
        EXPECT_EQ(QFile::exists(path), row.written);
        EXPECT_EQ(LastImageDir, WorkDir() + "/" + row.folder);
        if (row.written) {
            QImage saved;
            ASSERT_TRUE(saved.load(path, "BMP"));
            EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), picture);
        }
    }
    const ShownFileDialog& dialog = FileDialogs().back();
    EXPECT_EQ(dialog.title, "Save");
    EXPECT_EQ(dialog.initDir, "/before/");
    EXPECT_EQ(dialog.filter, "*.bmp|*.bmp|");

    LastImageDir = "/before/";
    CancelDialog();
    Trigger("mnuFileSaveAs");
    EXPECT_EQ(LastImageDir, "/before/");
    EXPECT_EQ(QDir(WorkDir()).entryList(QDir::Files), QStringList{"in.bmp"});
    QStringList saved = QDir(WorkDir() + "/sub").entryList(QDir::Files);
    saved.sort();
    EXPECT_EQ(saved, (QStringList{"OUT2.BMP", "out.bmp"}));
}

TEST_F(ImageTest, SaveAsOfAWindowWithoutPictureWritesNothingAndSaysSo) {
    Write("empty.jpeg", Pattern(8, 8), "JPG");
    Open("empty.jpeg");
    LastImageDir = "/before/";
    ChooseFile("none.bmp");
    AnswerBox(vbOK);
    Trigger("mnuFileSaveAs");
    EXPECT_FALSE(QFile::exists(WorkDir() + "/none.bmp"));
    EXPECT_EQ(LastImageDir, "/before/");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].text.contains("none.bmp"));
}

TEST_F(ImageTest, EverySimulationStartsFromTheFileWithTheTablesAsTheyStand) {
    const QImage picture = Pattern(30, 20);
    const QString path = Write("p.bmp", picture, "BMP");
    frmImageFrame* window = Open("p.bmp");
    // C_Gamma halves every level: applied to its own output it would halve again.
    for (int p = 0; p < PlaneCount; ++p)
        for (int i = 0; i < CurvePoints; ++i) ColorDataSet.C_Gamma(i, p) = ValueOf(i / 2.0);
    Trigger("mnuFile_ceramicGamma");
    const QImage once = Shown(window);
    EXPECT_EQ(once.pixel(0, 0), 0xFF7F7F7Fu);   // black: level 255 -> 127.5 -> 128 of ink
    EXPECT_EQ(once.pixel(10, 0), 0xFFFFFFFFu);  // white stays white
    Trigger("mnuFile_ceramicGamma");
    EXPECT_EQ(Shown(window), once);

    // Another simulation, then the same again after an edit of its table.
    Trigger("mnuFile_glazeGamma");
    for (auto& word : ColorDataSet.G_Gamma.Words) word = 0;
    Trigger("mnuFile_glazeGamma");
    EXPECT_EQ(Shown(window).pixel(0, 0), 0xFFFFFFFFu);

    // A changed file is what the next one starts from.
    ASSERT_TRUE(Pattern(30, 20).mirrored(true, false).save(path, "BMP"));
    Trigger("mnuFile_originalimage");
    EXPECT_EQ(Shown(window), picture.mirrored(true, false));
    EXPECT_EQ(window->Picture1->Picture().convertToFormat(QImage::Format_RGB32),
              picture.mirrored(true, false));
}

TEST_F(ImageTest, OriginalImageNeedsNoEngineAndAMissingEngineChangesNothing) {
    const QImage picture = Pattern(30, 20);
    frmImageFrame* window = Open(QFileInfo(Write("p.bmp", picture, "BMP")).fileName());
    for (auto& word : ColorDataSet.G_Gamma.Words) word = 0;
    Trigger("mnuFile_glazeGamma");
    const QImage simulated = Shown(window);
    ASSERT_NE(simulated, picture);

    JmEngine::UseLibrary("libJmEngineMissing.so");
    AnswerBox(vbOK);
    Trigger("mnuFile_omegaGamma");
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_TRUE(Boxes()[0].text.contains("libJmEngineMissing.so"));
    EXPECT_EQ(Shown(window), simulated);

    Trigger("mnuFile_originalimage");
    EXPECT_EQ(Shown(window), picture);
    EXPECT_EQ(Boxes().size(), 1u);

    // A file that is gone cannot be reloaded: the window keeps what it shows.
    JmEngine::UseLibrary("libJmEngine.so");
    Trigger("mnuFile_glazeGamma");
    ASSERT_TRUE(QFile::remove(window->F_Name));
    AnswerBox(vbOK);
    Trigger("mnuFile_originalimage");
    EXPECT_EQ(Boxes().size(), 2u);
    EXPECT_EQ(Shown(window), simulated);
}

TEST_F(ImageTest, TheWindowTakesThePictureSizeOnce) {
    const QString path = Write("p.bmp", Pattern(320, 200), "BMP");
    frmImageFrame* window = Open("p.bmp");
    QMdiSubWindow* frame = Windows().front();
    EXPECT_EQ(frame->size(), QSize(320, 200));
    EXPECT_FALSE(window->FitPending);

    ASSERT_TRUE(Pattern(200, 150).save(path, "BMP"));
    Trigger("mnuFile_ceramicGamma");
    EXPECT_EQ(window->Picture1->size(), QSize(200, 150));
    EXPECT_EQ(frame->size(), QSize(320, 200));

    // A window opened without a picture takes the first one a simulation brings.
    const QString jpeg = Write("q.jpeg", Pattern(260, 180), "JPG");
    frmImageFrame* empty = Open("q.jpeg");
    EXPECT_TRUE(empty->FitPending);
    Trigger("mnuFile_originalimage");
    EXPECT_EQ(Windows().back()->size(), QSize(260, 180));
    EXPECT_FALSE(empty->FitPending);
}

TEST_F(ImageTest, ImageItemsAreOnExactlyWhileAnImageWindowIsActive) {
    Write("a.bmp", Pattern(40, 30), "BMP");
    EXPECT_FALSE(ImageItemsEnabled());
    Open("a.bmp");
    QMdiSubWindow* first = Windows().back();
    EXPECT_TRUE(ImageItemsEnabled());
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
    first->close();
    second->close();
    editor->close();
    MainForm->mdiArea->setActiveSubWindow(nullptr);
    EXPECT_FALSE(ImageItemsEnabled());
    Open("a.bmp");
    EXPECT_TRUE(ImageItemsEnabled());
    Windows().back()->close();
    EXPECT_FALSE(ImageItemsEnabled());
}

TEST_F(ImageTest, PrintPutsTheShownPictureOnThePageAndItsFlagsStay) {
    Write("p.bmp", Pattern(200, 120), "BMP");
    frmImageFrame* window = Open("p.bmp");
    const QString pdf = WorkDir() + "/page.pdf";
    QPrinter& printer = MainForm->CommonDialog1.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);

    CancelDialog();
    Trigger("mnuFilePrint");
    EXPECT_FALSE(QFile::exists(pdf));

    ConfirmPrintDialog();
    Trigger("mnuFilePrint");
    QFile page(pdf);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.contains("/Subtype /Image"));
    EXPECT_TRUE(bytes.contains("/Width 200"));
    EXPECT_EQ(printer.colorMode(), QPrinter::Color);
    EXPECT_EQ(printer.docName(), window->windowTitle());

    ChooseFile("q.bmp");
    Trigger("mnuFileSaveAs");
    // Open, the cancelled and the confirmed print dialog, Save As.
    ASSERT_EQ(FileDialogs().size(), 4u);
    EXPECT_EQ(FileDialogs()[0].flags, 0);
    for (std::size_t i = 1; i < FileDialogs().size(); ++i)
        EXPECT_EQ(FileDialogs()[i].flags, cdlPDNoSelection | cdlPDDisablePrintToFile);
}

}  // namespace
