// Fixed texts of the simulated camera: start-up errors and warnings, and the words of its log.
#pragma once

namespace velterra::sim::text {

// Configuration (printf-style placeholders).
inline constexpr const char* kNoModelTable =
    "No model table %s: choose the configuration folder with --dir.";
inline constexpr const char* kModelNotListed = "Model \"%s\" is not listed in %s.";
inline constexpr const char* kCommandFileFailed =
    "The model command file %s of model \"%s\" could not be loaded: %s";
inline constexpr const char* kNoModelText =
    "No entry of [Model_Info_DB] in %s names model \"%s\", so the camera has no model text.";
inline constexpr const char* kModelTextTooLong =
    "Model text \"%s\" is longer than CharLength %d and is cut.";
inline constexpr const char* kNoKernel1Text =
    "No model text of model \"%s\" is 14 characters ending in \"M\": a host will identify kernel "
    "0.";
inline constexpr const char* kKernel0TextLooksMb =
    "The model text \"%s\" is 14 characters ending in \"M\": a host will identify kernel 1.";
inline constexpr const char* kBadKernel = "Kernel type %d is not 0 or 1.";
inline constexpr const char* kBadRate = "Fault rate %s must be between 0 and 1.";

// Values file.
inline constexpr const char* kValuesFileMissing = "Values file %s cannot be read.";
inline constexpr const char* kValueBadKey =
    "Values file: key \"%s\" is not a command id such as 0xA6.";
inline constexpr const char* kValueUnknownId =
    "Values file: command 0x%X is not a parameter of model \"%s\".";
inline constexpr const char* kValueBadNumber =
    "Values file: \"%s\" for command 0x%X is not a number that fits %d bytes.";
inline constexpr const char* kValueBadItem =
    "Values file: \"%s\" for command 0x%X is no item of its list.";

// Files and the pseudo-terminal.
inline constexpr const char* kLogFileFailed = "Cannot write the log file %s.";
inline constexpr const char* kNoPty = "Cannot open a pseudo-terminal: %s";

}  // namespace velterra::sim::text
