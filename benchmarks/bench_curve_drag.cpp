// The curve-drag round trip of the curve editors: a user's step on the curve (PointChanged),
// the grid, the table and the curve brought up to date and the window repainted. A plain
// editor and a marker editor (whose markers and strobe sum the colour engine works out at
// every step) step in turn; then every editor's worst step.
#include <QApplication>
#include <QTest>
#include <cstdio>
#include <string>

#include "benchmarks/bench_util.h"
#include "core/colour_data.h"
#include "editors/curve/curve_editor_variants.h"
#include "editors/curve/curve_table_editor.h"
#include "platform/trazo/trazo.h"
#include "shell/app_globals.h"

namespace {

constexpr double kWorstTargetMs = 5.0;

CurveTableEditor* Open(const char* window) {
    auto* editor = new CurveTableEditor(*FindCurveEditorVariant(window));
    editor->show();
    if (!QTest::qWaitForWindowExposed(editor)) std::fprintf(stderr, "%s not shown\n", window);
    editor->Trazo1->setFocus();
    QTest::keyClick(editor->Trazo1, Qt::Key_Home);  // the first node, which can rise and fall
    QCoreApplication::processEvents();
    return editor;
}

// One step: the selected node one value up or down, and everything that follows from it.
double Step(CurveTableEditor* editor, bool up) {
    return bench::Time([&] {
        QTest::keyClick(editor->Trazo1, up ? Qt::Key_Up : Qt::Key_Down);
        QCoreApplication::processEvents();
    });
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ModuleDataPro::InitColorData();
    PlaneColor = {0x0000C0C0, 0x00FF00FF, 0x00FFFF00, 0x00C0C0C0, 0x000000FF};

    constexpr int kSteps = 400;
    CurveTableEditor* plain = Open("frmHTemp");
    CurveTableEditor* marker = Open("frmSTBGamma");
    for (int i = 0; i < 20; ++i) Step(plain, i % 2), Step(marker, i % 2);  // warm up
    int k = 0;
    const std::vector<bench::Samples> s = bench::SideBySide(
        kSteps, {[&] { return Step(plain, k % 2); }, [&] { return Step(marker, k++ % 2); }});
    std::printf("Curve-drag round trip (%d steps each, in turn)\n", kSteps);
    bench::PrintTime("plain editor (frmHTemp)", s[0]);
    bench::PrintTime("marker editor (frmSTBGamma)", s[1]);
    delete plain;
    delete marker;

    std::printf("Worst step of every curve editor (100 steps each; target < %.0f ms)\n",
                kWorstTargetMs);
    bool met = true;
    for (const CurveEditorVariant& v : CurveEditorVariants()) {
        CurveTableEditor* editor = Open(v.window);
        bench::Samples steps;
        for (int i = 0; i < 110; ++i) {
            const double ms = Step(editor, i % 2);
            if (i >= 10) steps.values.push_back(ms);
        }
        const bool ok = steps.Max() < kWorstTargetMs;
        met = met && ok;
        std::printf("  %-16s median %7.3f ms  worst %7.3f ms  %s\n", v.window, steps.Median(),
                    steps.Max(), ok ? "met" : "NOT MET");
        delete editor;
    }
    std::printf("  every editor's worst step < %.0f ms: %s\n", kWorstTargetMs,
                met ? "met" : "NOT MET");
    return 0;
}
