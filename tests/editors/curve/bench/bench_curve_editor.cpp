// How long the curve editor takes for a user's change on the curve (grid and
// table brought up to date, window repainted) and for showing a table.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTest>

#include "core/colour_data.h"
#include "editors/curve/curve_editor_variants.h"
#include "editors/curve/curve_table_editor.h"
#include "platform/trazo/trazo.h"
#include "shell/app_globals.h"

namespace {

CurveTableEditor* Editor() {
    static CurveTableEditor* editor = [] {
        ModuleDataPro::InitColorData();
        PlaneColor = {0x0000C0C0, 0x00FF00FF, 0x00FFFF00, 0x00C0C0C0, 0x000000FF};
        auto* ed = new CurveTableEditor(*FindCurveEditorVariant("frmMHumidity"));
        ed->show();
        QCoreApplication::processEvents();
        return ed;
    }();
    return editor;
}

void PointChangedRoundTrip(benchmark::State& state) {
    CurveTableEditor* ed = Editor();
    ed->Trazo1->setFocus();
    QTest::keyClick(ed->Trazo1, Qt::Key_End);
    bool up = true;
    for (auto _ : state) {
        QTest::keyClick(ed->Trazo1, up ? Qt::Key_Down : Qt::Key_Up);
        QCoreApplication::processEvents();
        up = !up;
    }
}
BENCHMARK(PointChangedRoundTrip)->Unit(benchmark::kMicrosecond);

// The 256-row passes alone, redrawing deferred to the event loop.
void LoadTableToGrid(benchmark::State& state) {
    CurveTableEditor* ed = Editor();
    for (auto _ : state) ed->LoadTableToGrid();
    QCoreApplication::processEvents();
}
BENCHMARK(LoadTableToGrid)->Unit(benchmark::kMicrosecond);

void LoadTableToGridAndRepaint(benchmark::State& state) {
    CurveTableEditor* ed = Editor();
    for (auto _ : state) {
        ed->LoadTableToGrid();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(LoadTableToGridAndRepaint)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
