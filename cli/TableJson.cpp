#include "TableJson.h"

namespace velterra {

using json = nlohmann::ordered_json;

json CommandInfoToJson(const CommandInfo& c) {
    json items = json::array();
    for (const auto& item : c.ListItems)
        items.push_back({{"Value", item.Value}, {"Text", item.Text}});
    return json{
        {"CommandID", c.CommandID},
        {"CharLength", c.CharLength},
        {"EnableRW", c.EnableRW},
        {"Max", c.Max},
        {"Min", c.Min},
        {"SliderStep", c.SliderStep},
        {"EnableList", c.EnableList},
        {"ListNum", c.ListNum},
        {"ListItems", std::move(items)},
        {"PureTextValue", c.PureTextValue},
        {"EnableAdvancedLevel", c.EnableAdvancedLevel},
        {"HasUICommand", c.HasUICommand},
        {"RunUICommand", c.RunUICommand},
        {"ValueText", c.ValueText},
    };
}

json RowInfoToJson(const RowInfo& row) {
    return json{
        {"SectionName", row.SectionName},
        {"DisplayName", row.DisplayName},
        {"Command", row.Command ? CommandInfoToJson(*row.Command) : json(nullptr)},
    };
}

json BlockInfoToJson(const BlockInfo& block) {
    json rows = json::array();
    for (const auto& row : block.Rows) rows.push_back(RowInfoToJson(row));
    return json{
        {"SectionName", block.SectionName},     {"DisplayName", block.DisplayName},
        {"RowCount", block.RowCount},           {"Expanded", block.Expanded},
        {"BasicCount", block.BasicCount},       {"AdvancedCount", block.AdvancedCount},
        {"PasswordCount", block.PasswordCount}, {"Rows", std::move(rows)},
    };
}

json BlocksToJson(const BlockArray& blocks) {
    json array = json::array();
    for (const auto& block : blocks) array.push_back(BlockInfoToJson(block));
    return array;
}

json ModelTableToJson(const CVelterraDoc& doc) {
    return json{
        {"ModelName", doc.ModelName},
        {"CommandFilePath", doc.CommandFilePath},
        {"MenuDB", doc.MenuDB},
        {"ColorCamera", doc.ColorCamera},
        {"SupportFpnPrnuTables", doc.SupportFpnPrnuTables},
        {"SupportLUT", doc.SupportLUT},
        {"MaxTxUnitBits", doc.MaxTxUnitBits},
        {"TapsNum", doc.TapsNum},
        {"ActiveLength", doc.ActiveLength},
        {"BlockCount", doc.BlockCount},
        {"Blocks", BlocksToJson(doc.Blocks)},
    };
}

std::string DumpJson(const json& value) {
    return value.dump(2, ' ', false, json::error_handler_t::replace);
}

}  // namespace velterra
