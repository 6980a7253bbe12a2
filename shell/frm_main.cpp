#include "shell/frm_main.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTime>
#include <QTimer>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "core/bulk_transfers.h"
#include "core/busy_notice.h"
#include "core/colour_data.h"
#include "core/errors.h"
#include "core/numbers.h"
#include "shell/app_globals.h"
#include "shell/child_windows.h"
#include "shell/frm_about.h"
#include "shell/modal.h"
#include "shell/msgbox.h"
#include "shell/port_selection.h"
#include "shell/program_end.h"
#include "shell/settings.h"
#include "shell/ui_units.h"

namespace {

constexpr std::array<const char*, 4> PlacementKeys = {"MainLeft", "MainTop", "MainWidth",
                                                      "MainHeight"};
constexpr std::array<float, 4> PlacementDefaults = {1000, 1000, 6500, 6500};
constexpr std::size_t Width = 2;  // the index of "MainWidth"

using Rows = std::initializer_list<std::pair<const char*, const char*>>;
constexpr const char* Separator = nullptr;

// A placement value as stored: the text must be a number that a window can take.
float PlacementValue(const QString& text) {
    const double value = WholeNumber(text.toStdString());
    if (!(std::fabs(value) <= std::numeric_limits<float>::max())) {
        throw NumberOverflow("placement value out of range");
    }
    const auto twips = static_cast<float>(value);
    ToInt32(twips);  // a placement beyond the screen's coordinates cannot be set
    return twips;
}

// The plain decimal text of a 32-bit float: 1000, 1234.5.
QString FloatText(float value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return QString::fromLatin1(text, result.ptr - text);
}

}  // namespace

frmMain::frmMain() {
    setObjectName("frmMain");
    setWindowTitle(QStringLiteral("  RN-Tools"));
    setAttribute(Qt::WA_DeleteOnClose, false);

    mdiArea = new QMdiArea(this);
    mdiArea->setObjectName("MDIClient");
    mdiArea->setBackground(palette().brush(QPalette::Dark));
    // A child beyond the area is reached by scrolling, as in the platform's windows.
    mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(mdiArea);

    BuildMenus();
    BuildStatusBar();
}

frmMain::~frmMain() {
    SetBusyNotice(nullptr);
    if (MainForm == this) MainForm = nullptr;
}

QAction* frmMain::Item(const QString& name) const {
    return items_.value(name);
}

QMenu* frmMain::AddMenu(const char* caption, const char* name) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(QString::fromLatin1(name));
    items_.insert(menu->objectName(), menu->menuAction());
    return menu;
}

QAction* frmMain::AddItem(QMenu* menu, const char* caption, const char* name,
                          const char* shortcut) {
    QAction* item = menu->addAction(QString::fromUtf8(caption));
    item->setObjectName(QString::fromLatin1(name));
    if (*shortcut) item->setShortcut(QKeySequence(QString::fromLatin1(shortcut)));
    items_.insert(item->objectName(), item);
    return item;
}

void frmMain::AddItems(QMenu* menu, Rows rows) {
    for (const auto& [caption, name] : rows) {
        if (caption == Separator) {
            menu->addSeparator();
        } else {
            HookRegistered(AddItem(menu, caption, name));
        }
    }
}

void frmMain::Hook(QAction* item, std::function<void()> handler) {
    connect(item, &QAction::triggered, this, [handler] { RunHandler(handler); });
}

// An item opens the window registered for it, or runs the handler registered
// for it; with neither it stays in the menu, disabled.
void frmMain::HookRegistered(QAction* item) {
    const QString name = item->objectName();
    if (ChildWindows::FactoryOf(name)) {
        Hook(item, [this, name] { OpenChild(name); });
    } else if (MenuHandler handler = ChildWindows::HandlerOf(name)) {
        Hook(item, handler);
    } else {
        item->setEnabled(false);
    }
}

void frmMain::BuildMenus() {
    mnuFile = AddMenu("File(&F)", "mnuFile");
    mnuFileOpen = AddItem(mnuFile, "Open(&O)...", "mnuFileOpen", "Ctrl+O");
    mnuFileSaveAs = AddItem(mnuFile, "SaveAs(&A)...", "mnuFileSaveAs", "Ctrl+S");
    mnuFile->addSeparator();
    mnuFilePrint = AddItem(mnuFile, "Print(&P)...", "mnuFilePrint", "Ctrl+P");
    mnuFile->addSeparator();
    mnuPortSetting = AddItem(mnuFile, "Port setting(&R)...", "mnuPortSetting", "Ctrl+R");
    mnuFile->addSeparator();
    mnuFileExit = AddItem(mnuFile, "Exit(&X)", "mnuFileExit", "Ctrl+X");
    for (QAction* item : {mnuFileOpen, mnuFileSaveAs, mnuFilePrint}) HookRegistered(item);
    Hook(mnuPortSetting, [this] { mnuPortSetting_Click(); });
    Hook(mnuFileExit, [this] { mnuFileExit_Click(); });

    mnuFileSimulation = AddMenu("Simulation(&S)", "mnuFileSimulation");
    AddItems(mnuFileSimulation, Rows{{"ceramicTemp Yellow", "mnuFile_ceramicTempYellow"},
                                     {"ceramicTemp Magenta", "mnuFile_ceramicTempMagenta"},
                                     {"ceramicTemp Cyan", "mnuFile_ceramicTempCyan"},
                                     {Separator, ""},
                                     {"glazeTemp Yellow", "mnuFile_glazeTempYellow"},
                                     {"glazeTemp Magenta", "mnuFile_glazeTempMagenta"},
                                     {"glazeTemp Cyan", "mnuFile_glazeTempCyan"},
                                     {Separator, ""},
                                     {"ceramicGamma", "mnuFile_ceramicGamma"},
                                     {"glazeGamma", "mnuFile_glazeGamma"},
                                     {"ceramic glazeGamma", "mnuFile_ceramicglazeGamma"},
                                     {"Comp. ceramic glazeGamma", "mnuFile_CompceramicglazeGamma"},
                                     {Separator, ""},
                                     {"energyImp Yellow", "mnuFile_energyImpYellow"},
                                     {"energyImp Magenta", "mnuFile_energyImpMagenta"},
                                     {"energyImp Cyan", "mnuFile_energyImpCyan"},
                                     {Separator, ""},
                                     {"energy Gamma", "mnuFile_energyGamma"},
                                     {"Comp. energy Gamma", "mnuFile_CompenergyGamma"},
                                     {Separator, ""},
                                     {"omega Gamma", "mnuFile_omegaGamma"},
                                     {"Comp. omega Gamma", "mnuFile_CompomegaGamma"},
                                     {"delta Gamma", "mnuFile_deltaGamma"},
                                     {"Comp. delta Gamma", "mnuFile_CompdeltaGamma"},
                                     {Separator, ""},
                                     {"print data simulation", "mnuFile_printdatasimulation"},
                                     {"head data simulation", "mnuFile_headdatasimulation"},
                                     {Separator, ""},
                                     {"Original image", "mnuFile_originalimage"}});

    mnuCtl = AddMenu("Control Data(&C)", "mnuCtl");
    AddItems(mnuCtl, Rows{{"Head Temperature", "mnuCtlHeadTemperature"},
                          {"Media Temperature", "mnuCtlMediaTemperature"},
                          {"Temperature Coefficient", "mnuCtlTemperatureCoefficient"},
                          {Separator, ""},
                          {"Humidity Coeffient", "mnuCtlHumidityCoeffient"},
                          {Separator, ""},
                          {"Media Humidity", "mnuCtlMediaHumidity"},
                          {"Strobe Gamma", "mnuCtlStrobeGamma"},
                          {"E Gamma", "mnuCtlE_Gamma"},
                          {Separator, ""},
                          {"C Gamma", "mnuCtlC_Gamma"},
                          {"C Theta", "mnuCtlC_Theta"},
                          {"C Epsilon", "mnuCtlC_Epsilon"},
                          {"G Gamma", "mnuCtlG_Gamma1"},
                          {"G Theta", "mnuCtlG_Theta1"},
                          {"G Epsilon", "mnuCtlG_Epsilon"},
                          {"E Epsilon", "mnuCtlE_Epsilon"},
                          {"C Sigma", "mnuCtlC_Sigma"},
                          {"G Sigma", "mnuCtlG_Sigma"},
                          {"I Gamma", "mnuCtlI_Gamma"},
                          {"I Theta", "mnuCtlI_Theta"},
                          {"I Epsilon", "mnuCtlI_Epsilon"},
                          {Separator, ""},
                          {"G Omega", "mnuCtlG_Omega"},
                          {"G Delta", "mnuCtlG_Delta"},
                          {Separator, ""},
                          {"Start Cmp", "mnuStartCmp"},
                          {Separator, ""},
                          {"Print Mode...", "mnuCtlPrintMode"},
                          {Separator, ""},
                          {"Open All data...", "mnuCtlOpenData"},
                          {"Save All data...", "mnuCtlSaveData"},
                          {"Write All data... (*.KTD)", "mnuCtlWriteData"},
                          {Separator, ""},
                          {"KTD Version Check", "mnuVersionChk"},
                          {"Write to File...", "mnuCtlSaveData2"},
                          {"Write to Printer...", "mnuCtlWriteAll"}});

    mnuStatus = AddMenu("Status(&T)", "mnuStatus");
    AddItems(mnuStatus, Rows{{"Printer Status(&S)...", "mnuPrinterStatus"},
                             {"ROM Version(&V)...", "mnuROMVersion"},
                             {"Ribbon Status(&R)...", "mnuRibbonStatus"},
                             {"Print Sheets Counter(&P)...", "mnuOptionPrintSheetsCounter"},
                             {"Printer Serial No(&N)...", "mnuPrinterSerial"}});

    mnuOption = AddMenu("Option(&O)", "mnuOption");
    AddItems(mnuOption, Rows{{"Setup of Media(&M)...", "mnuOptionSetupMedium"},
                             {"Setup of HeadRank(&R)...", "mnuOptionSetupHeadRank"},
                             {"Setup of HeatRank(&H)...", "mnuOptionSetupHeatRank"},
                             {"Setup of Printer Serial No", "mnuOptionSetupPSerial"},
                             {"Setup of Resolution(&L)...", "mnuOptionSetupResolution"},
                             {"Mechanism Adjustment(&A)...", "mnuOptionMechanismAdjustment"},
                             {Separator, ""},
                             {"Sensor Monitor(&S)...", "mnuOptionSensorMonitor"},
                             {Separator, ""},
                             {"Flash rom writer(&F)...", "mnuOptionFlashProgram"}});

    mnuWindow = AddMenu("Window(&W)", "mnuWindow");
    mnuWindowCascade = AddItem(mnuWindow, "Cascade(&C)", "mnuWindowCascade");
    Hook(mnuWindowCascade, [this] { mnuWindowCascade_Click(); });
    connect(mnuWindow, &QMenu::aboutToShow, this, &frmMain::mnuWindow_Refresh);

    mnuHelp = AddMenu("Help(&H)", "mnuHelp");
    mnuHelpContents = AddItem(mnuHelp, "Contents (&C)", "mnuHelpContents");
    mnuHelpSearch = AddItem(mnuHelp, "Keyword (&K)...", "mnuHelpSearch");
    for (QAction* hidden : {mnuHelpContents, mnuHelpSearch}) {
        hidden->setVisible(false);
        hidden->setEnabled(false);
    }
    Hook(mnuHelpContents, [this] { mnuHelpContents_Click(); });
    Hook(mnuHelpSearch, [this] { mnuHelpSearch_Click(); });
    mnuHelp->addSeparator();
    mnuHelpAbout = AddItem(mnuHelp, "About(&A)", "mnuHelpAbout");
    Hook(mnuHelpAbout, [this] { mnuHelpAbout_Click(); });
}

void frmMain::BuildStatusBar() {
    sbStatusBar = new QStatusBar(this);
    sbStatusBar->setObjectName("sbStatusBar");
    sbStatusBar->setSizeGripEnabled(false);
    setStatusBar(sbStatusBar);
    const std::array<const char*, 3> names = {"Panel1", "Panel2", "Panel3"};
    std::array<QLabel*, 3> panels{};
    for (std::size_t i = 0; i < panels.size(); ++i) {
        panels[i] = new QLabel(sbStatusBar);
        panels[i]->setObjectName(QString::fromLatin1(names[i]));
        panels[i]->setFrameShape(QFrame::Panel);
        panels[i]->setFrameShadow(QFrame::Sunken);
        panels[i]->setContentsMargins(4, 0, 4, 0);
    }
    panels[0]->setText(QStringLiteral("RN-Tools"));
    sbStatusBar->addWidget(panels[0], 1);
    sbStatusBar->addPermanentWidget(panels[1]);
    sbStatusBar->addPermanentWidget(panels[2]);

    auto tick = [date = panels[1], time = panels[2]] {
        const QLocale locale;
        date->setText(locale.toString(QDate::currentDate(), QLocale::ShortFormat));
        time->setText(locale.toString(QTime::currentTime(), QLocale::ShortFormat));
    };
    tick();
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, tick);
    clock_->start(1000);
}

void frmMain::MDIForm_Load() {
    try {
        const QString programFolder = QString::fromStdString(Module2::ProgramFolder());
        QDir::setCurrent(programFolder);
        HelpFile = programFolder + QStringLiteral("/KT-ToolsHelp_E.CHM");

        mnuFileSimulation->menuAction()->setEnabled(false);
        mnuFileSaveAs->setEnabled(false);
        mnuFilePrint->setEnabled(false);

        ReadPlacement();
        LastImageDir = Settings::GetSetting("Path", "Path1", QString());
        LastDir = Settings::GetSetting("Path", "Path2", programFolder);

        PlaneColor = {0x0000C0C0, 0x00FF00FF, 0x00FFFF00, 0x00C0C0C0, 0x000000FF};
        PlaneSuffix = {"_Y", "_M", "_C", "_OP", ""};
        ModuleDataPro::InitColorData();
        ColorDataSet.ReservedWord = 0;
        SetBusyNotice(&notice_);

        StartupPortSelection();
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception& e) {
        TellReason(e.what());
        MsgBox(QStringLiteral("JM Printer is not installed."), vbOKOnly, AppTitle);
        throw ProgramEnd{};
    } catch (...) {
        MsgBox(QStringLiteral("JM Printer is not installed."), vbOKOnly, AppTitle);
        throw ProgramEnd{};
    }
}

void frmMain::ReadPlacement() {
    for (std::size_t i = 0; i < PlacementKeys.size(); ++i) {
        const QString stored = Settings::GetSetting("Settings", PlacementKeys[i], QString());
        try {
            loadedTwips_[i] = stored.isNull() ? PlacementDefaults[i] : PlacementValue(stored);
        } catch (const std::exception& e) {
            // The load ends the program here, as the design does; the user is told where to look.
            throw std::runtime_error("The window placement " + std::string(PlacementKeys[i]) +
                                     " in " + Settings::File().toStdString() +
                                     " cannot be taken: " + e.what() + ".");
        }
        loadedPx_[i] = TwipsToPx(loadedTwips_[i]);
        // The menu bar does not wrap as the original platform's did: a first window too narrow
        // for it would fold the last menus away, so it opens as wide as every menu needs.
        if (i == Width && stored.isNull()) {
            const int menus = menuBar()->sizeHint().width();
            if (menus > loadedPx_[i]) {
                loadedPx_[i] = menus;
                loadedTwips_[i] = static_cast<float>(PxToTwips(menus));
            }
        }
    }
    move(loadedPx_[0], loadedPx_[1]);
    resize(loadedPx_[2], loadedPx_[3]);
}

void frmMain::MDIForm_Unload() {
    if (!isMinimized()) {
        const std::array<int, 4> now = {x(), y(), width(), height()};
        for (std::size_t i = 0; i < now.size(); ++i) {
            const float twips =
                now[i] == loadedPx_[i] ? loadedTwips_[i] : static_cast<float>(PxToTwips(now[i]));
            Settings::SaveSetting("Settings", PlacementKeys[i], FloatText(twips));
        }
    }
    Settings::SaveSetting("Path", "Path1", LastImageDir);
    Settings::SaveSetting("Path", "Path2", LastDir);
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (Module1::ProgramEnded()) {
        event->accept();
        return;
    }
    // Each child runs its own unload first; one that stays open keeps the program open.
    mdiArea->closeAllSubWindows();
    for (QMdiSubWindow* child : mdiArea->subWindowList()) {
        if (child->isVisible()) {
            event->ignore();
            return;
        }
    }
    RunHandler([this] { MDIForm_Unload(); });
    event->accept();
}

QWidget* frmMain::OpenChild(const QString& menuItem) {
    if (QMdiSubWindow* open = open_.value(menuItem)) {
        if (open->isMinimized()) open->showNormal();
        mdiArea->setActiveSubWindow(open);
        open->raise();
        return open->widget();
    }
    const ChildWindowFactory make = ChildWindows::FactoryOf(menuItem);
    if (!make) return nullptr;
    QWidget* window = make();
    open_.insert(menuItem, ShowChild(window));
    return window;
}

QMdiSubWindow* frmMain::ShowChild(QWidget* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* child = mdiArea->addSubWindow(window);
    child->show();
    ChildWindows::Place(*mdiArea, *child);
    mdiArea->setActiveSubWindow(child);
    return child;
}

void frmMain::mnuPortSetting_Click() {
    MenuPortSelection();
}

void frmMain::mnuFileExit_Click() {
    close();
}

void frmMain::mnuWindowCascade_Click() {
    ChildWindows::Cascade(*mdiArea);
}

// The help file is for another platform's viewer; both items stay hidden.
void frmMain::mnuHelpContents_Click() {}

void frmMain::mnuHelpSearch_Click() {}

void frmMain::mnuHelpAbout_Click() {
    frmAbout about(this);
    ShowModal(about);
}

void frmMain::mnuWindow_Refresh() {
    const QList<QAction*> actions = mnuWindow->actions();
    for (QAction* action : actions) {
        if (action != mnuWindowCascade) {
            mnuWindow->removeAction(action);
            action->deleteLater();
        }
    }
    const QList<QMdiSubWindow*> children = mdiArea->subWindowList();
    bool first = true;
    for (QMdiSubWindow* child : children) {
        if (!child->isVisible()) continue;
        if (first) mnuWindow->addSeparator();
        first = false;
        QString caption = child->windowTitle();
        caption.replace('&', QStringLiteral("&&"));
        QAction* item = mnuWindow->addAction(caption);
        item->setObjectName("mnuWindowList");
        item->setCheckable(true);
        item->setChecked(child == mdiArea->activeSubWindow());
        QPointer<QMdiSubWindow> target = child;
        connect(item, &QAction::triggered, this, [this, target] {
            if (target) mdiArea->setActiveSubWindow(target);
        });
    }
}
