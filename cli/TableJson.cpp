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

json ModelTableToJson(const std::string& modelName, const std::string& commandFilePath,
                      const CameraModel& model) {
    return json{
        {"ModelName", modelName},
        {"CommandFilePath", commandFilePath},
        {"MenuDB", model.MenuDB},
        {"ColorCamera", model.ColorCamera},
        {"SupportFpnPrnuTables", model.SupportFpnPrnuTables},
        {"SupportLUT", model.SupportLUT},
        {"MaxTxUnitBits", model.MaxTxUnitBits},
        {"TapsNum", model.TapsNum},
        {"ActiveLength", model.ActiveLength},
        {"BlockCount", model.BlockCount},
        {"Blocks", BlocksToJson(model.Blocks)},
    };
}

json ModelTableToJson(const CVelterraDoc& doc) {
    return ModelTableToJson(doc.ModelName, doc.CommandFilePath, doc);
}

std::string DumpJson(const json& value) {
    return value.dump(2, ' ', false, json::error_handler_t::replace);
}

}  // namespace velterra
