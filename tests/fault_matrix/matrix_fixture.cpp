#include "tests/fault_matrix/matrix_fixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTabBar>
#include <QTableWidget>
#include <QTest>
#include <array>
#include <cstdlib>

#include "core/colour_data.h"
#include "platform/quillet/quillet_control.h"
#include "shell/frm_main.h"
#include "shell/msgbox.h"

namespace {

QString PictureOf(const QLabel* label) {
    const QPixmap picture = label->pixmap();
    if (picture.isNull()) return {};
    const QImage image = picture.toImage();
    return QString::fromLatin1(
        QCryptographicHash::hash(
            QByteArrayView(image.constBits(), static_cast<qsizetype>(image.sizeInBytes())),
            QCryptographicHash::Sha1)
            .toHex());
}

QString GridText(const QTableWidget* grid) {
    QString text;
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QTableWidgetItem* item = grid->item(r, c);
            text += (item ? item->text() : QString()) + '\t';
        }
        text += '\n';
    }
    return text;
}

void AddFacets(Face& face, const QString& name, const QWidget* w) {
    const auto put = [&](const char* facet, const QString& value) {
        face[name + '.' + facet] = value;
    };
    put("enabled", w->isEnabled() ? "yes" : "no");
    if (const auto* box = qobject_cast<const QLineEdit*>(w)) {
        put("text", box->text());
        put("ink", box->palette().color(QPalette::Text).name());
    } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
        put("text", label->text());
        put("picture", PictureOf(label));
    } else if (const auto* list = qobject_cast<const QComboBox*>(w)) {
        put("text", list->currentText());
        put("index", QString::number(list->currentIndex()));
    } else if (const auto* grid = qobject_cast<const QTableWidget*>(w)) {
        put("text", GridText(grid));
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        put("checked", button->isChecked() ? "yes" : "no");
    } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
        put("index", QString::number(tabs->currentIndex()));
    }
}

const char* const kPrinterKeys[] = {"status",
                                    "firmware",
                                    "media",
                                    "pqty",
                                    "resolution_h",
                                    "resolution_v",
                                    "free_buffer",
                                    "media_lot",
                                    "colour_offset",
                                    "media_counter",
                                    "serial",
                                    "counter_life",
                                    "counter_a",
                                    "counter_b",
                                    "media_id",
                                    "head_rank",
                                    "heat_setting",
                                    "print_pos",
                                    "cut_pos",
                                    "cutter",
                                    "retention",
                                    "version",
                                    "update_mode",
                                    "checksum",
                                    "firmware_image_length",
                                    "firmware_image_crc"};

// A difference between two faces, said control by control.
std::string Differences(const Face& expected, const Face& actual) {
    std::string said;
    auto cut = [](const QString& s) {
        return (s.size() > 60 ? s.left(60) + "..." : s).toStdString();
    };
    for (const auto& [key, value] : expected) {
        const auto it = actual.find(key);
        const QString now = it == actual.end() ? QString("(none)") : it->second;
        if (now != value)
            said += "\n  " + key.toStdString() + ": expected \"" + cut(value) + "\", shows \"" +
                    cut(now) + "\"";
    }
    for (const auto& [key, value] : actual)
        if (!expected.count(key)) said += "\n  " + key.toStdString() + ": new";
    return said;
}

}  // namespace

Face FaceOf(const QWidget* window) {
    Face face;
    face["(caption)"] = window->windowTitle();
    std::map<QString, int> seen;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith("qt_")) continue;
        const int n = seen[name]++;
        AddFacets(face, n == 0 ? name : name + '#' + QString::number(n), w);
    }
    return face;
}

Change Shows(const char* control, const QString& text) {
    return {QString::fromLatin1(control) + ".text", [text](const Face&) { return text; }};
}

Change Titled(const QString& caption) {
    return {"(caption)", [caption](const Face&) { return caption; }};
}

Change Pictured(const char* control, const char* source) {
    const QString from = QString::fromLatin1(source) + ".picture";
    return {QString::fromLatin1(control) + ".picture",
            [from](const Face& before) { return before.at(from); }};
}

Change Inked(const char* control, QPalette::ColorRole role) {
    return {QString::fromLatin1(control) + ".ink",
            [role](const Face&) { return QApplication::palette().color(role).name(); }};
}

Change ShowsSetting(const char* control, const char* key) {
    const std::string k = key;
    return {QString::fromLatin1(control) + ".text",
            [k](const Face&) { return QString::fromStdString(PrinterState().at(k)); }};
}

std::vector<Change> Chooses(const char* control, const QString& text, int index) {
    const QString name = QString::fromLatin1(control);
    return {{name + ".text", [text](const Face&) { return text; }},
            {name + ".index", [index](const Face&) { return QString::number(index); }}};
}

Seen NotResponding(std::vector<Change> changes) {
    return {{"Printer not responding"}, std::move(changes)};
}

Seen Showing(std::vector<Change> changes) {
    return {{}, std::move(changes)};
}

std::vector<uint8_t> SetImage() {
    return FileImage(ColorDataSet);
}

std::map<std::string, std::string> PrinterState() {
    std::map<std::string, std::string> state;
    for (const char* key : kPrinterKeys) {
        char value[256] = {};
        const int n = quillet_get_setting(u"EMU1:", key, value, sizeof value);
        state[key] = n < 0 ? "(unknown)" : std::string(value);
    }
    return state;
}

void MakeDistinctSet() {
    ColorData& d = ColorDataSet;
    const std::array<CurveTable*, 17> curves = CurveTables(d);
    for (std::size_t t = 0; t < curves.size(); ++t) {
        for (int plane = 0; plane < PlaneCount; ++plane) {
            for (int point = 0; point < CurvePoints; ++point) {
                int value = (point * 39 + plane * 250 + static_cast<int>(t) * 17) % 10001;
                // A table reply has no terminator: its last byte must not read as one.
                if (point == CurvePoints - 1 && ((value & 0xFF) == '\r' || (value & 0xFF) == '\n'))
                    ++value;
                const int flag = point % 51 == 0 ? ControlPointBit : 0;
                (*curves[t])(point, plane) = static_cast<int16_t>(value | flag);
            }
        }
    }
    for (int p = 0; p < PlaneCount; ++p) {
        d.EGammaRange(0, p) = static_cast<int16_t>(1500 + 150 * p);
        d.EGammaRange(1, p) = static_cast<int16_t>(8500 - 150 * p);
        // Each sigma plane keeps C + 2 L + 2 LL = 10000, as the editor's rules leave it.
        d.GSigmaParams(0, p) = static_cast<int16_t>(4000 + 400 * p);
        d.GSigmaParams(1, p) = static_cast<int16_t>(2000 - 100 * p);
        d.GSigmaParams(2, p) = static_cast<int16_t>(1000 - 100 * p);
        d.CSigmaParams(0, p) = static_cast<int16_t>(6000 - 400 * p);
        d.CSigmaParams(1, p) = static_cast<int16_t>(1000 + 100 * p);
        d.CSigmaParams(2, p) = static_cast<int16_t>(1000 + 100 * p);
        for (int w = 0; w < 7; ++w)
            d.GOmegaParams(w, p) = static_cast<int16_t>((37 * p + 11 * w + 5) % 256);
        for (int w = 0; w < 4; ++w)
            d.GDeltaParams(w, p) = static_cast<int16_t>((23 * p + 7 * w + 3) % 256);
    }
    for (std::size_t k = 0; k < d.StartCmpData.Words.size(); ++k)
        d.StartCmpData.Words[k] = static_cast<int16_t>(static_cast<int>(k * 7 + 3) % 21 - 10);
    // A record the print-mode editor shows as it is: media 1, 334 dpi cycle 2.
    d.PrintModeData = {1, 302, 22, 100, 77};
}

void MatrixTest::SetUp() {
    GuiTest::SetUp();
    setenv("RNTOOLS_PORT_TIMEOUT_MS", std::to_string(kPortTimeoutMs).c_str(), 1);
}

void MatrixTest::TearDown() {
    unsetenv("RNTOOLS_PORT_TIMEOUT_MS");
    GuiTest::TearDown();
}

QWidget* MatrixTest::OpenWindow(const char* menuItem) {
    MainForm->show();
    QApplication::setActiveWindow(MainForm);
    EXPECT_TRUE(QTest::qWaitForWindowActive(MainForm));
    if (!*menuItem) return MainForm;
    QWidget* window = MainForm->OpenChild(menuItem);
    EXPECT_NE(window, nullptr) << menuItem;
    QCoreApplication::processEvents();
    return window;
}

void MatrixTest::ExpectSeen(QWidget* window, const Face& before, const Seen& seen,
                            const std::function<void()>& action) {
    for (qsizetype i = 0; i < seen.boxes.size(); ++i) AnswerBox(vbOK);
    const std::size_t shown = Boxes().size();
    QElapsedTimer clock;
    clock.start();
    action();
    const qint64 took = clock.elapsed();
    EXPECT_LT(took, kPortTimeoutMs) << "the action took " << took << " ms";

    QStringList texts;
    for (std::size_t i = shown; i < Boxes().size(); ++i) {
        texts << Boxes()[i].text;
        EXPECT_EQ(Boxes()[i].title, AppTitle) << Boxes()[i].text.toStdString();
        EXPECT_EQ(Boxes()[i].buttons, vbOKOnly) << Boxes()[i].text.toStdString();
    }
    EXPECT_EQ(texts.join(" | ").toStdString(), seen.boxes.join(" | ").toStdString());

    Face expected = before;
    for (const Change& change : seen.changes) {
        EXPECT_TRUE(before.count(change.key)) << "no control " << change.key.toStdString();
        expected[change.key] = change.value(before);
    }
    const Face after = FaceOf(window);
    EXPECT_TRUE(after == expected) << "the window shows otherwise:" << Differences(expected, after);
}
