#pragma once
#include <QMainWindow>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/DocumentObserver.h"
#include "dataops/CameraFunctions.h"
#include "ui/CommandMenus.h"

class QAction;
class QCloseEvent;
class QMenu;

namespace velterra {

class CVelterraApp;
class CVelterraDoc;
class IFrameView;
class QtUserInterface;

// The program's single top-level window: the menu bar (Program, Basic Commands, Advanced
// Commands, Help, Password Commands), the dispatch of its commands by id through the document,
// the Password toggle (Ctrl+Alt+P), the caption from the document's title, the busy cursor,
// and closing without asking to save. The document's first view is its central widget.
//
// Command ids stay numeric: every menu entry carries its id as the QAction's data, and
// RunCommand(id) is the one way a command runs, from the menus, the keyboard or a parameter's
// RunUICommand.
class CMainFrame : public QMainWindow, private IDocumentObserver {
    Q_OBJECT

  public:
    static constexpr int kIdOpenCamera = 32773;
    static constexpr int kIdPassword = 32788;
    static constexpr int kIdLoadVlt = 57601;
    static constexpr int kIdSaveVltAs = 57604;
    static constexpr int kIdFirstRecentFile = 57616;  // the recent files follow one by one
    static constexpr int kIdAbout = 57664;
    static constexpr int kIdExit = 57665;
    static constexpr int kIdEmptyPlaceholder = 104;

    // The document of the application is shown and served by this frame from now on: the
    // frame becomes its user interface and one of its observers.
    explicit CMainFrame(CVelterraApp& app, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CVelterraApp& App() { return app_; }
    CVelterraDoc& Doc() { return doc_; }
    QtUserInterface& Ui() { return *ui_; }
    CameraFunctions& Functions() { return functions_; }

    // The document's first view becomes the central widget (the frame takes the widget).
    void SetView(QWidget* widget, IFrameView* view);
    IFrameView* FirstView() const { return view_; }

    // Runs a command by id; false when no command has that id. Entries 37000-37200 go to
    // OnMenuCommand.
    bool RunCommand(int id);
    // Program-menu commands whose dialogs are built elsewhere (Open Camera, Load and Save VLT):
    // set the handler there. Without one, Load and Save say they are not available yet.
    void SetCommandHandler(int id, std::function<void()> handler);
    // Built-in functions whose windows are built elsewhere (2 the flat-field wizard, 6 and 7 the
    // LUT workbook transfers, 8 the LUT editor when the view has none). Without a handler the
    // function says it is not available yet.
    void SetBuiltinFunction(int code, std::function<void()> run);
    // Loading a settings file by path: recent file i of the Program menu, FILE.vlt of the
    // command line. Without a handler these say that loading is not available yet.
    void SetOpenSettingsFileHandler(std::function<void(const std::string&)> open);
    // Connecting the slot given with --port at start (with the --baud rate, 0 the default).
    void SetOpenPortHandler(std::function<void(int slot, uint32_t baudRate)> open);
    // What the command line asks for once the window is shown: a port to connect, then a
    // settings file to load. Without its handler a request is told on standard error, so the
    // window opens without a box nobody asked for.
    void StartWith(int slot, uint32_t baudRate, const std::string& settingsFile);

    // The document's menu commands (ids 37000-37200): every view's in-place edit ends first.
    void OnMenuCommand(int id);
    // Runs built-in function `code` (1 to 10); any other code says "This function isn't
    // supported!!".
    void RunBuiltinFunction(int code);

    // The Password toggle: with access granted, drops it, hides the Password pop-up and the
    // view's admin level; without, runs the Password dialog and, when it granted access, shows
    // them.
    void OnPassword();
    // Shows or hides the title of the last menu-bar pop-up; its entries stay.
    bool ShowPasswordMenu(bool show);

    // The database pop-ups, rebuilt on every model load: emptied to their "(Empty)"
    // placeholders with the maps cleared, then each filled from its table of the menu database
    // `databaseFile` (the model's MenuDB, in the start-up directory). Every failure of a load
    // is shown in a warning box; what loaded before it stays.
    void ResetCommandMenus();
    bool LoadCommandPopup(CommandPopup popup, const std::string& databaseFile);
    const CommandMenus& Menus() const { return menus_; }
    // Enables the entries of a database pop-up (not its sub-menus, which do it as they open)
    // by the document's state; runs whenever one opens.
    void UpdateMenuCommands(QMenu* menu);

    // Whether the LUT functions of the command menus are offered: the Help menu's check entry,
    // kept in the program's settings when `remember`, or --lut-functions for one run.
    void SetLutFunctionsEnabled(bool on, bool remember);
    bool LutFunctionsEnabled() const { return lutFunctions_; }

    // The recent-file list of the Program menu, newest first, at most four.
    void AddRecentFile(const std::string& path);

    // Closes the window as "E&xit" does, also from inside a dialog (SIGINT, SIGTERM).
    void CloseLikeExit();
    // Caption from the document's title: "Untitled - Velterra".
    void UpdateTitle();
    // The busy cursor over the frame while the document is Busy.
    void UpdateBusyCursor();

    // The action of a command id, searched through every menu (tests and other parts of the
    // window use it); nullptr when none.
    QAction* FindAction(int id) const;
    QMenu* ProgramMenu() const { return program_; }
    QMenu* BasicMenu() const { return basic_; }
    QMenu* AdvancedMenu() const { return advanced_; }
    QMenu* PasswordMenu() const { return password_; }
    QMenu* PopupMenu(CommandPopup popup) const;

  protected:
    // Closing never asks to save the settings.
    void closeEvent(QCloseEvent* event) override;

  private:
    void OnDocumentUpdate(int hint, const BlockArray* blocks, const std::string& message) override;
    QAction* AddCommand(QMenu* menu, const char* text, int id);
    void BuildProgramMenu();
    void RebuildRecentFiles();
    void OnAbout();
    void NotAvailable(const char* what);
    void FillPopup(QMenu* menu, const MenuItems& items);
    void ClearPopup(QMenu* menu);
    bool IsFrameCommand(int id) const;

    CVelterraApp& app_;
    CVelterraDoc& doc_;
    std::unique_ptr<QtUserInterface> ui_;
    CameraFunctions functions_;
    IFrameView* view_ = nullptr;
    QMenu* program_ = nullptr;
    QMenu* basic_ = nullptr;
    QMenu* advanced_ = nullptr;
    QMenu* help_ = nullptr;
    QMenu* password_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QAction* lutSwitch_ = nullptr;
    bool lutFunctions_ = false;
    CommandMenus menus_;  // the three trees and the maps the database entries dispatch by
    QString m_strPasswordMenuTitle;  // the Password pop-up's title, saved when first hidden
    std::map<int, std::function<void()>> commandHandlers_;
    std::map<int, std::function<void()>> builtinHandlers_;
    std::function<void(const std::string&)> openSettingsFile_;
    std::function<void(int, uint32_t)> openPort_;
};

}  // namespace velterra
