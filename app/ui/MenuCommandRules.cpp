#include "MenuCommandRules.h"

#include "dataops/MenuFunctions.h"

namespace velterra {

bool IsMenuCommandEnabled(const CommandMenus& menus, uint32_t id,
                          const MenuCommandContext& context) {
    if (!IsMenuCommandId(id)) return false;
    const bool ready = context.portOpen && !context.busy;
    if (const auto found = menus.m_mapFunctionCode.find(id);
        found != menus.m_mapFunctionCode.end()) {
        switch (found->second) {
            case BuiltinFunction::kFpnPrnuWrite:
            case BuiltinFunction::kFpnPrnuRead:
            case BuiltinFunction::kOnePixelSet:
                return ready;
            case BuiltinFunction::kLutDialog:
                // The editor works on its own curves; it needs no port slot.
                return context.lutFunctions && ready;
            case BuiltinFunction::kLutWrite:
            case BuiltinFunction::kLutRead:
                if (!context.lutFunctions) return false;
                break;
            default:
                break;
        }
    }
    return ready && context.portIndex >= 0;
}

MenuDispatch ResolveMenuCommand(const CommandMenus& menus, uint32_t id) {
    MenuDispatch dispatch;
    if (!IsMenuCommandId(id)) return dispatch;
    if (const auto code = menus.m_mapFunctionCode.find(id); code != menus.m_mapFunctionCode.end()) {
        dispatch.kind = MenuDispatch::Kind::Function;
        dispatch.functionCode = code->second;
        return dispatch;
    }
    if (const auto name = menus.m_mapCommandString.find(id);
        name != menus.m_mapCommandString.end()) {
        dispatch.kind = MenuDispatch::Kind::Command;
        dispatch.command = name->second;
        if (const auto flag = menus.m_mapRefreshAll.find(id); flag != menus.m_mapRefreshAll.end()) {
            dispatch.refreshFlag = flag->second;
        }
    }
    return dispatch;
}

}  // namespace velterra
