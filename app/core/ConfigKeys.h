#pragma once

namespace velterra {

// Section and key names of CAM_VL.ini and the model command files, and their defaults.
namespace ConfigKey {

// CAM_VL.ini
inline constexpr const char* kBranchType = "Branch_Type";
inline constexpr const char* kMaxBranchTypeNum = "MaxBranchTypeNum";
inline constexpr const char* kModelInfoCommand = "Model_Info_Command";
inline constexpr const char* kModelInfoDB = "Model_Info_DB";
inline constexpr const char* kCommandID = "CommandID";
inline constexpr const char* kCharLength = "CharLength";

// Model command file, section Overview
inline constexpr const char* kOverview = "Overview";
inline constexpr const char* kMenuDB = "MenuDB";
inline constexpr const char* kColorCamera = "ColorCamera";
inline constexpr const char* kSupportFpnPrnuTables = "SupportFpnPrnuTables";
inline constexpr const char* kActiveLength = "ActiveLength";
inline constexpr const char* kSupportLUT = "SupportLUT";
inline constexpr const char* kMaxTxUnitBits = "MaxTxUnitBits";
inline constexpr const char* kTapsNum = "TapsNum";
inline constexpr const char* kMaxBlockInfoNum = "MaxBlockInfoNum";

// Block section
inline constexpr const char* kMaxRowInfoNum = "MaxRowInfoNum";

// Command section
inline constexpr const char* kEnableRW = "EnableRW";
inline constexpr const char* kRunUICommand = "RunUICommand";
inline constexpr const char* kEnableList = "EnableList";
inline constexpr const char* kEnableAdvancedLevel = "EnableAdvancedLevel";
inline constexpr const char* kListNum = "ListNum";
inline constexpr const char* kPureTextValue = "PureTextValue";
inline constexpr const char* kMaxMinValue = "MaxMinValue";

// Command.ini
inline constexpr const char* kBytes = "Bytes";

// Defaults of level keys and of the range.
inline constexpr const char* kLevelDefault = "FALSE";
inline constexpr const char* kMaxMinDefault = "0,0";

// Buffer of a Command.ini CommandID read (63 characters).
inline constexpr int kCommandIdBufferSize = 64;

}  // namespace ConfigKey

}  // namespace velterra
