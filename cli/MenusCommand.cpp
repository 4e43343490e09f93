#include <iostream>
#include <nlohmann/json.hpp>
#include <string>

#include "CliCommand.h"
#include "TableJson.h"
#include "core/CoreTexts.h"
#include "core/ModelFile.h"
#include "ui/CommandMenus.h"
#include "ui/MenuDatabase.h"

namespace velterra {

// velterra-cli menus [--db FILE | --model NAME] [--json]: the three command menus as the window
// loads them, as an indented tree or as JSON.
namespace {

constexpr int kExitLoaded = 0;
constexpr int kExitLoadErrors = 1;
constexpr int kExitCannotOpen = 2;
constexpr int kExitUsage = 64;

constexpr const char* kUsage =
    "usage: velterra-cli [--dir DIR] menus [--db FILE | --model NAME] [--json]\n";

using Json = nlohmann::ordered_json;

Json EntryToJson(const MenuEntry& entry);

Json ItemsToJson(const MenuItems& items) {
    Json list = Json::array();
    for (const auto& entry : items) list.push_back(EntryToJson(entry));
    return list;
}

Json EntryToJson(const MenuEntry& entry) {
    Json out;
    if (entry.kind == MenuEntry::Kind::Separator) {
        out["separator"] = true;
        return out;
    }
    out["caption"] = entry.caption;
    if (entry.kind == MenuEntry::Kind::SubMenu) {
        out["submenu"] = ItemsToJson(entry.submenu);
        return out;
    }
    // An entry whose MenuItemID is empty has no id: nothing dispatches to it.
    if (entry.id) out["id"] = *entry.id;
    switch (entry.action) {
        case MenuEntry::Action::Function:
            out["action"] = "function";
            out["function"] = entry.property;
            out["code"] = entry.functionCode;
            break;
        case MenuEntry::Action::Command:
            out["action"] = "command";
            out["command"] = entry.property;
            out["refreshAll"] = entry.refreshAll;
            break;
        case MenuEntry::Action::None:
            out["action"] = "none";
            break;
    }
    return out;
}

void PrintItems(const MenuItems& items, int depth) {
    const std::string indent(2 * depth, ' ');
    for (const auto& entry : items) {
        switch (entry.kind) {
            case MenuEntry::Kind::Separator:
                std::cout << indent << "----\n";
                break;
            case MenuEntry::Kind::SubMenu:
                std::cout << indent << entry.caption << " >\n";
                if (entry.submenu.empty()) std::cout << indent << "  (no entries)\n";
                PrintItems(entry.submenu, depth + 1);
                break;
            case MenuEntry::Kind::Command: {
                std::cout << indent << entry.caption << "  ["
                          << (entry.id ? std::to_string(*entry.id) : std::string("no id")) << "] ";
                if (entry.action == MenuEntry::Action::Function) {
                    std::cout << "function " << entry.property << " (" << entry.functionCode << ")";
                } else if (entry.action == MenuEntry::Action::Command) {
                    std::cout << "command " << entry.property
                              << (entry.refreshAll ? ", then refresh all" : "");
                } else {
                    std::cout << "no action (" << entry.property << ")";
                }
                std::cout << '\n';
                break;
            }
        }
    }
}

// The database named by --db, by the model's MenuDB key, or the default; false when the
// model gives none.
bool FindDatabase(const CliContext& context, const std::string& db, const std::string& model,
                  std::string& path) {
    const std::string startup = context.startupDirectory.string();
    if (!db.empty()) {
        path = context.UserPath(db).string();
        return true;
    }
    if (model.empty()) {
        path = MenuDatabasePath(startup, CoreText::kDefaultMenuDatabase);
        return true;
    }
    std::string modelFile;
    if (!FindModelFile(startup, model, modelFile)) {
        std::cerr << "velterra-cli: model \"" << model << "\" is not in " << modelFile << '\n';
        return false;
    }
    CameraModel loaded;
    std::string reason;
    if (!LoadModelFile(modelFile, loaded, &reason)) {
        std::cerr << "velterra-cli: cannot load " << modelFile << ": " << reason << '\n';
        return false;
    }
    path = MenuDatabasePath(startup, loaded.MenuDB);
    return true;
}

int RunMenus(CliContext& context) {
    std::string db;
    std::string model;
    bool json = false;
    const auto& args = context.args;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--json") {
            json = true;
        } else if ((args[i] == "--db" || args[i] == "--model") && i + 1 < args.size()) {
            (args[i] == "--db" ? db : model) = args[i + 1];
            ++i;
        } else {
            std::cerr << kUsage;
            return kExitUsage;
        }
    }
    if (!db.empty() && !model.empty()) {
        std::cerr << kUsage;
        return kExitUsage;
    }
    std::string path;
    if (!FindDatabase(context, db, model, path)) return kExitCannotOpen;
    if (const std::string problem = MenuDatabaseOpenProblem(path); !problem.empty()) {
        std::cerr << "velterra-cli: " << problem << '\n';
        return kExitCannotOpen;
    }

    const CommandMenus menus = LoadCommandMenus(path);
    if (json) {
        Json out;
        out["database"] = path;
        Json popups;
        for (CommandPopup popup : kCommandPopups) {
            popups[CommandTableName(popup)] = ItemsToJson(menus.Popup(popup));
        }
        out["menus"] = popups;
        out["errors"] = menus.errors;
        std::cout << DumpJson(out) << '\n';
    } else {
        std::cout << "database: " << path << '\n';
        for (CommandPopup popup : kCommandPopups) {
            std::cout << CommandTableName(popup) << ":\n";
            if (menus.Popup(popup).empty()) std::cout << "  (no entries)\n";
            PrintItems(menus.Popup(popup), 1);
        }
        for (const auto& error : menus.errors) std::cerr << "velterra-cli: " << error << '\n';
    }
    return menus.errors.empty() ? kExitLoaded : kExitLoadErrors;
}

CliCommandRegistration registration("menus", "[--db FILE | --model NAME] [--json]", &RunMenus);

}  // namespace

}  // namespace velterra
