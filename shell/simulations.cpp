#include "shell/simulations.h"

#include <QDir>
#include <QImage>
#include <array>
#include <stdexcept>

#include "core/bulk_transfers.h"
#include "core/colour_data.h"
#include "core/engine_link.h"
#include "platform/engine/jm_engine.h"
#include "shell/child_windows.h"
#include "shell/frm_image_frame.h"
#include "shell/msgbox.h"

namespace {

struct Simulation {
    const char* menuItem;
    const char* engineFunction;
};

// In menu order.
constexpr std::array<Simulation, 21> Simulations = {{
    {"mnuFile_ceramicTempYellow", "cGammaTempY"}, {"mnuFile_ceramicTempMagenta", "cGammaTempM"},
    {"mnuFile_ceramicTempCyan", "cGammaTempC"},   {"mnuFile_glazeTempYellow", "gGammaTempY"},
    {"mnuFile_glazeTempMagenta", "gGammaTempM"},  {"mnuFile_glazeTempCyan", "gGammaTempC"},
    {"mnuFile_ceramicGamma", "cGammaDisp"},       {"mnuFile_glazeGamma", "gGammaDisp"},
    {"mnuFile_ceramicglazeGamma", "cgGammaDisp"}, {"mnuFile_CompceramicglazeGamma", "ccgGammaDisp"},
    {"mnuFile_energyImpYellow", "iGammaImpY"},    {"mnuFile_energyImpMagenta", "iGammaImpM"},
    {"mnuFile_energyImpCyan", "iGammaImpC"},      {"mnuFile_energyGamma", "iGammaDisp"},
    {"mnuFile_CompenergyGamma", "ciGammaDisp"},   {"mnuFile_omegaGamma", "oGammaDisp"},
    {"mnuFile_CompomegaGamma", "coGammaDisp"},    {"mnuFile_deltaGamma", "dGammaDisp"},
    {"mnuFile_CompdeltaGamma", "cdGammaDisp"},    {"mnuFile_printdatasimulation", "pDataSim"},
    {"mnuFile_headdatasimulation", "hDataSim"},
}};

struct Registrations {
    Registrations() {
        for (const Simulation& item : Simulations) {
            MenuHandlerRegistration(item.menuItem,
                                    [function = item.engineFunction] { RunSimulation(function); });
        }
        MenuHandlerRegistration("mnuFile_originalimage", [] { mnuFile_originalimage_Click(); });
    }
} registrations;

// The engine's view of a 32-bit picture.
JmBitmap Bitmap(QImage& image) {
    return {reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
            static_cast<int32_t>(image.bytesPerLine())};
}

}  // namespace

void RunSimulation(const char* engineFunction) {
    frmImageFrame* window = ActiveImageFrame();
    if (window == nullptr) return;
    // Every simulation starts from the picture as stored, not from what was drawn last.
    QImage picture;
    if (!LoadPicture(window->F_Name, picture)) {
        MsgBox(QStringLiteral("The picture cannot be read again from %1.").arg(window->F_Name),
               vbExclamation);
        return;
    }
    QImage drawn = picture;
    if (engineFunction != nullptr) {
        QDir::setCurrent(QString::fromStdString(Module2::ProgramFolder()));
        QImage bitmap = picture.convertToFormat(QImage::Format_ARGB32);
        drawn = bitmap.copy();
        JmBitmap source = Bitmap(bitmap);
        JmBitmap surface = Bitmap(drawn);
        try {
            JmEngine::setDataTable(ColorDataSet);
            JmEngine::RunImageFunction(engineFunction, surface, source);
        } catch (const std::runtime_error& failure) {
            MsgBox(QString::fromStdString(failure.what()), vbExclamation);
            return;
        }
    }
    window->Picture1->SetPicture(picture, drawn);
    window->Picture1->repaint();
}

void mnuFile_originalimage_Click() {
    RunSimulation(nullptr);
}
