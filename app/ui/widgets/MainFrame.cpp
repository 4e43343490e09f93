#include "MainFrame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>
#include <climits>
#include <cstdio>

#include "FrameView.h"
#include "FunctionProgress.h"
#include "QtUserInterface.h"
#include "connect/widgets/PasswordDialog.h"
#include "core/CoreTexts.h"
#include "core/EngineTexts.h"
#include "core/FormatText.h"
#include "core/SettingsFile.h"
#include "core/UpdateHints.h"
#include "core/VelterraApp.h"
#include "core/VelterraDoc.h"
#include "dataops/MenuFunctions.h"
#include "ui/MenuCommandRules.h"
#include "ui/RecentFiles.h"
#include "ui/UiTexts.h"
#include "ui/widgets/WidgetText.h"

namespace velterra {

namespace {

// Where the recent-file list is kept, in the program's settings.
constexpr const char* kRecentFilesGroup = "Recent File List";

std::vector<std::string> StoredRecentFiles() {
    QSettings settings;
    settings.beginGroup(kRecentFilesGroup);
    std::vector<std::string> files;
    for (std::size_t i = 1; i <= kRecentFileCount; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty()) files.push_back(path.toStdString());
    }
    return files;
}

void StoreRecentFiles(const std::vector<std::string>& files) {
    QSettings settings;
    settings.beginGroup(kRecentFilesGroup);
    for (std::size_t i = 1; i <= kRecentFileCount; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= files.size()) {
            settings.setValue(key, QString::fromStdString(files[i - 1]));
        } else {
            settings.remove(key);
        }
    }
}

QMenu* AddPopup(QMenuBar* bar, const char* title) {
    QMenu* menu = bar->addMenu(Text(title));
    // A table whose first row is a separator starts its pop-up with one; keep it visible.
    menu->setSeparatorsCollapsible(false);
    return menu;
}

}  // namespace

CMainFrame::CMainFrame(CVelterraApp& app, QWidget* parent)
    : QMainWindow(parent),
      app_(app),
      doc_(app.Doc()),
      ui_(std::make_unique<QtUserInterface>(*this)),
      functions_(app.Doc()) {
    QMenuBar* bar = menuBar();
    program_ = AddPopup(bar, UiText::kProgramMenu);
    BuildProgramMenu();
    basic_ = AddPopup(bar, UiText::kBasicCommandsMenu);
    advanced_ = AddPopup(bar, UiText::kAdvancedCommandsMenu);
    help_ = AddPopup(bar, UiText::kHelpMenu);
    AddCommand(help_, UiText::kAbout, kIdAbout);
    help_->addAction(Text(UiText::kAboutQt), qApp, &QApplication::aboutQt);
    help_->addSeparator();
    lutSwitch_ = help_->addAction(Text(UiText::kEnableLutFunctions));
    lutSwitch_->setCheckable(true);
    connect(lutSwitch_, &QAction::triggered, this,
            [this](bool checked) { SetLutFunctionsEnabled(checked, true); });
    SetLutFunctionsEnabled(QSettings().value(UiText::kLutFunctionsKey, false).toBool(), false);
    password_ = AddPopup(bar, UiText::kPasswordCommandsMenu);
    for (QMenu* menu : {basic_, advanced_, password_}) {
        connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateMenuCommands(menu); });
    }
    ResetCommandMenus();

    // The Password toggle has no menu entry, only its key.
    auto* toggle = new QAction(this);
    toggle->setData(kIdPassword);
    toggle->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
    connect(toggle, &QAction::triggered, this, [this] { RunCommand(kIdPassword); });
    addAction(toggle);
    if (!app_.AccessGranted) ShowPasswordMenu(false);

    setCentralWidget(new QWidget(this));
    doc_.SetUserInterface(ui_.get());
    doc_.AddObserver(this);
    UpdateTitle();
    resize(720, 540);
}

CMainFrame::~CMainFrame() {
    // The LED thread reaches the window through the user interface: it ends first.
    doc_.StopLedThread();
    doc_.RemoveObserver(this);
    if (doc_.UserInterface() == ui_.get()) doc_.SetUserInterface(nullptr);
}

QAction* CMainFrame::AddCommand(QMenu* menu, const char* text, int id) {
    QAction* action = menu->addAction(Text(text));
    action->setData(id);
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    return action;
}

void CMainFrame::BuildProgramMenu() {
    AddCommand(program_, UiText::kOpenCamera, kIdOpenCamera);
    program_->addSeparator();
    QAction* load = AddCommand(program_, UiText::kLoadVltFile, kIdLoadVlt);
    QAction* save = AddCommand(program_, UiText::kSaveVltFileAs, kIdSaveVltAs);
    recentSeparator_ = program_->addSeparator();
    AddCommand(program_, UiText::kExit, kIdExit);
    RebuildRecentFiles();
    connect(program_, &QMenu::aboutToShow, this, [this, load, save] {
        load->setEnabled(SettingsFile::CanLoad(doc_));
        save->setEnabled(SettingsFile::CanSave(doc_));
    });
}

void CMainFrame::RebuildRecentFiles() {
    for (QAction* action : program_->actions()) {
        const int id = action->data().toInt();
        if (id >= kIdFirstRecentFile && id < kIdFirstRecentFile + int(kRecentFileCount)) {
            program_->removeAction(action);
            action->deleteLater();
        }
    }
    const std::vector<std::string> files = StoredRecentFiles();
    // The entries stand between the file commands and "E&xit", after the separator.
    QAction* before = nullptr;
    const QList<QAction*> actions = program_->actions();
    const auto at = actions.indexOf(recentSeparator_);
    if (at >= 0 && at + 1 < actions.size()) before = actions[at + 1];
    QList<QAction*> added;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const int id = kIdFirstRecentFile + static_cast<int>(i);
        auto* action = new QAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QString::fromStdString(files[i])), program_);
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        added.push_back(action);
    }
    if (!added.isEmpty()) {
        auto* separator = new QAction(program_);
        separator->setSeparator(true);
        separator->setData(kIdFirstRecentFile);  // removed with the entries
        added.push_back(separator);
        program_->insertActions(before, added);
    }
}

void CMainFrame::AddRecentFile(const std::string& path) {
    std::vector<std::string> files = StoredRecentFiles();
    velterra::AddRecentFile(files, path);
    StoreRecentFiles(files);
    RebuildRecentFiles();
}

void CMainFrame::SetView(QWidget* widget, IFrameView* view) {
    setCentralWidget(widget);
    view_ = view;
}

void CMainFrame::SetCommandHandler(int id, std::function<void()> handler) {
    commandHandlers_[id] = std::move(handler);
}

void CMainFrame::SetBuiltinFunction(int code, std::function<void()> run) {
    builtinHandlers_[code] = std::move(run);
}

void CMainFrame::SetOpenSettingsFileHandler(std::function<void(const std::string&)> open) {
    openSettingsFile_ = std::move(open);
}

void CMainFrame::SetOpenPortHandler(std::function<void(int, uint32_t)> open) {
    openPort_ = std::move(open);
}

void CMainFrame::StartWith(int slot, uint32_t baudRate, const std::string& settingsFile) {
    if (slot >= 0) {
        if (openPort_) {
            openPort_(slot, baudRate);
        } else {
            std::fprintf(stderr, "velterra: %s\n",
                         FormatText(UiText::kNotAvailableYet, UiText::kPortAtStart).c_str());
        }
    }
    if (!settingsFile.empty()) {
        if (openSettingsFile_) {
            openSettingsFile_(settingsFile);
        } else {
            std::fprintf(stderr, "velterra: %s\n",
                         FormatText(UiText::kNotAvailableYet, UiText::kLoadSettingsFile).c_str());
        }
    }
    UpdateTitle();
}

bool CMainFrame::RunCommand(int id) {
    if (auto handler = commandHandlers_.find(id); handler != commandHandlers_.end()) {
        handler->second();
        UpdateTitle();
        return true;
    }
    switch (id) {
        case kIdOpenCamera:
            doc_.OnOpenCamera();
            break;
        case kIdLoadVlt:
            NotAvailable(UiText::kLoadSettingsFile);
            break;
        case kIdSaveVltAs:
            NotAvailable(UiText::kSaveSettingsFile);
            break;
        case kIdExit:
            close();
            break;
        case kIdAbout:
            OnAbout();
            break;
        case kIdPassword:
            OnPassword();
            break;
        default:
            if (id >= kIdFirstRecentFile && id < kIdFirstRecentFile + int(kRecentFileCount)) {
                const std::vector<std::string> files = StoredRecentFiles();
                const auto index = static_cast<std::size_t>(id - kIdFirstRecentFile);
                if (index >= files.size()) return false;
                if (openSettingsFile_) {
                    openSettingsFile_(files[index]);
                } else {
                    NotAvailable(UiText::kLoadSettingsFile);
                }
                break;
            }
            if (id >= 0 && IsMenuCommandId(static_cast<uint32_t>(id))) {
                OnMenuCommand(id);
                break;
            }
            return false;
    }
    UpdateTitle();
    return true;
}

void CMainFrame::OnMenuCommand(int id) {
    doc_.UpdateAllViews(UpdateHint::kFinishEditing);
    if (id < 0 || !IsMenuCommandId(static_cast<uint32_t>(id))) return;
    // One function at a time: while one runs (or the LED thread refreshes) the entries are
    // disabled, and a command that still arrives (a key, a queued call) is refused.
    if (doc_.Busy) return;
    const MenuDispatch dispatch = ResolveMenuCommand(menus_, static_cast<uint32_t>(id));
    switch (dispatch.kind) {
        case MenuDispatch::Kind::Function:
            RunBuiltinFunction(dispatch.functionCode);
            break;
        case MenuDispatch::Kind::Command:
            RunWithFunctionProgress(*this, dispatch.command, [&] {
                RunCommandEntry(functions_, dispatch.command, dispatch.refreshFlag);
            });
            break;
        case MenuDispatch::Kind::Nothing:
            break;
    }
}

void CMainFrame::RunBuiltinFunction(int code) {
    if (auto run = builtinHandlers_.find(code); run != builtinHandlers_.end()) {
        run->second();
        return;
    }
    switch (code) {
        case BuiltinFunction::kFlatField:
            NotAvailable(UiText::kFlatFieldWizard);
            return;
        case BuiltinFunction::kLutWrite:
            NotAvailable(UiText::kLutToCamera);
            return;
        case BuiltinFunction::kLutRead:
            NotAvailable(UiText::kLutFromCamera);
            return;
        case BuiltinFunction::kLutDialog:
            if (view_ == nullptr || !view_->OpenLutEditor()) NotAvailable(UiText::kLutEditor);
            return;
        default:
            // 1, 3, 4, 5, 9 and 10 run in the core; any other code is refused there.
            RunWithFunctionProgress(*this, BuiltinFunctionCommand(code),
                                    [&] { velterra::RunBuiltinFunction(functions_, code); });
            return;
    }
}

void CMainFrame::OnPassword() {
    if (app_.AccessGranted) {
        app_.AccessGranted = false;
        ShowPasswordMenu(false);
        if (view_ != nullptr) view_->DropAdminLevel();
        return;
    }
    CPasswordDialog dialog(app_.AccessGranted, *ui_, this);
    dialog.exec();  // always ends with OK; what counts is the access flag
    if (app_.AccessGranted) {
        ShowPasswordMenu(true);
        if (view_ != nullptr) view_->ShowAdminLevel();
    }
}

bool CMainFrame::ShowPasswordMenu(bool show) {
    const QList<QAction*> entries = menuBar()->actions();
    if (entries.isEmpty()) return false;
    QAction* last = entries.back();
    if (m_strPasswordMenuTitle.isEmpty()) m_strPasswordMenuTitle = last->text();
    // The entry keeps its pop-up and the pop-up's entries; only its title comes and goes.
    last->setText(show ? m_strPasswordMenuTitle : QString());
    last->setEnabled(show);
    last->setVisible(show);
    menuBar()->update();
    return true;
}

void CMainFrame::ResetCommandMenus() {
    menus_.Reset();
    for (QMenu* menu : {basic_, advanced_, password_}) {
        ClearPopup(menu);
        QAction* empty = menu->addAction(Text(UiText::kEmptyPlaceholder));
        empty->setData(kIdEmptyPlaceholder);
        empty->setEnabled(false);
    }
}

void CMainFrame::ClearPopup(QMenu* menu) {
    // Deleted later, not now: the entry being chosen may be the one whose command reloads the
    // menus. The sub-menus are children of the pop-up and go with their entries.
    for (QAction* action : menu->actions()) {
        menu->removeAction(action);
        if (QMenu* sub = action->menu()) sub->deleteLater();
        if (action->parent() == menu) action->deleteLater();
    }
}

QMenu* CMainFrame::PopupMenu(CommandPopup popup) const {
    switch (popup) {
        case CommandPopup::Basic:
            return basic_;
        case CommandPopup::Advanced:
            return advanced_;
        case CommandPopup::Password:
            return password_;
    }
    return basic_;
}

bool CMainFrame::LoadCommandPopup(CommandPopup popup, const std::string& databaseFile) {
    const std::size_t shown = menus_.errors.size();
    const bool loaded = velterra::LoadCommandPopup(
        menus_, popup, MenuDatabasePath(doc_.StartupDirectory, databaseFile));
    // The pop-up is built again from its whole tree; an empty one keeps its placeholder, and a
    // first row that is a separator takes the placeholder's place.
    if (const MenuItems& items = menus_.Popup(popup); !items.empty()) {
        QMenu* menu = PopupMenu(popup);
        ClearPopup(menu);
        FillPopup(menu, items);
    }
    for (std::size_t i = shown; i < menus_.errors.size(); ++i) {
        ui_->ShowMessage(menus_.errors[i], MessageKind::Warning);
    }
    return loaded;
}

void CMainFrame::FillPopup(QMenu* menu, const MenuItems& items) {
    for (const MenuEntry& entry : items) {
        switch (entry.kind) {
            case MenuEntry::Kind::Separator:
                menu->addSeparator();
                break;
            case MenuEntry::Kind::SubMenu: {
                QMenu* sub = menu->addMenu(QString::fromStdString(entry.caption));
                sub->setSeparatorsCollapsible(false);
                connect(sub, &QMenu::aboutToShow, this, [this, sub] { UpdateMenuCommands(sub); });
                FillPopup(sub, entry.submenu);
                break;
            }
            case MenuEntry::Kind::Command: {
                QAction* action = menu->addAction(QString::fromStdString(entry.caption));
                // A row without an id has nothing to send: shown, never enabled.
                if (entry.id && *entry.id <= static_cast<uint32_t>(INT_MAX)) {
                    const int id = static_cast<int>(*entry.id);
                    action->setData(id);
                    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
                }
                action->setEnabled(false);
                break;
            }
        }
    }
}

bool CMainFrame::IsFrameCommand(int id) const {
    switch (id) {
        case kIdOpenCamera:
        case kIdLoadVlt:
        case kIdSaveVltAs:
        case kIdAbout:
        case kIdExit:
        case kIdPassword:
            return true;
        default:
            return commandHandlers_.count(id) != 0;
    }
}

void CMainFrame::UpdateMenuCommands(QMenu* menu) {
    const int32_t portIndex = doc_.PortIndex;
    const MenuCommandContext context{portIndex >= 0, doc_.Busy, portIndex, lutFunctions_};
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() || action->menu() != nullptr) continue;
        bool hasId = false;
        const int id = action->data().toInt(&hasId);
        if (!hasId || id == kIdEmptyPlaceholder) continue;
        // Entries of the database range follow its rules; an entry that names one of the
        // window's own commands is enabled as that command is.
        action->setEnabled(IsMenuCommandId(static_cast<uint32_t>(id))
                               ? IsMenuCommandEnabled(menus_, static_cast<uint32_t>(id), context)
                               : IsFrameCommand(id));
    }
}

void CMainFrame::SetLutFunctionsEnabled(bool on, bool remember) {
    lutFunctions_ = on;
    lutSwitch_->setChecked(on);
    if (remember) QSettings().setValue(UiText::kLutFunctionsKey, on);
}

void CMainFrame::OnAbout() {
    doc_.UpdateAllViews(UpdateHint::kFinishEditing);
    QMessageBox::about(this, Text(UiText::kAboutTitle),
                       QStringLiteral("<b>%1</b> %2<p>%3</p>")
                           .arg(Text(CoreText::kApplicationTitle),
                                QApplication::applicationVersion(), Text(UiText::kAboutText)));
}

void CMainFrame::NotAvailable(const char* what) {
    ui_->ShowMessage(FormatText(UiText::kNotAvailableYet, what), MessageKind::Information);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    doc_.SetModifiedFlag(false);
    event->accept();
}

void CMainFrame::CloseLikeExit() {
    // A dialog that is open ends as a cancel; then the window closes as with "E&xit", and every
    // event loop, the dialogs' nested ones too, comes to its end.
    while (QWidget* modal = QApplication::activeModalWidget()) {
        modal->close();
        if (modal->isVisible()) modal->hide();
    }
    close();
    QCoreApplication::exit(0);
}

void CMainFrame::UpdateTitle() {
    const std::string title = doc_.GetTitle().empty() ? EngineText::kUntitled : doc_.GetTitle();
    setWindowTitle(QString::fromStdString(
        FormatText(UiText::kCaption, title.c_str(), CoreText::kApplicationTitle)));
}

void CMainFrame::UpdateBusyCursor() {
    if (doc_.Busy) {
        setCursor(Qt::BusyCursor);
    } else {
        unsetCursor();
    }
}

void CMainFrame::OnDocumentUpdate(int, const BlockArray*, const std::string&) {
    // The title follows the connection and the settings file; hints from the LED thread are
    // carried over to this thread.
    ui_->Post([this] { UpdateTitle(); });
}

QAction* CMainFrame::FindAction(int id) const {
    QList<QMenu*> menus = {program_, basic_, advanced_, help_, password_};
    for (QAction* action : actions()) {
        if (action->data().toInt() == id) return action;
    }
    while (!menus.isEmpty()) {
        QMenu* menu = menus.takeFirst();
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator() && action->data().toInt() == id) return action;
            if (action->menu() != nullptr) menus.push_back(action->menu());
        }
    }
    return nullptr;
}

}  // namespace velterra
