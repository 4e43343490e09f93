#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

struct zip;  // libzip's archive handle

namespace velterra {

// Receives one XML part of a package as it streams through the parser. Element and attribute
// names arrive without their namespace, so transitional and strict files read alike.
class XmlPartHandler {
  public:
    virtual ~XmlPartHandler() = default;
    // attributes: expat's null-terminated name/value list (names still namespace-qualified;
    // use Attribute() to look one up by its local name).
    virtual void StartElement(std::string_view name, const char** attributes) = 0;
    virtual void EndElement(std::string_view name) = 0;
    virtual void CharacterData(std::string_view) {}

    // Set by a handler that found content it cannot accept; the parse stops.
    bool failed = false;

    static std::string_view Attribute(const char** attributes, std::string_view localName);
};

// The zip container of an .xlsx file, read-only: finds parts, follows relationships and
// streams a part's XML to a handler. Parts are capped in size so a crafted file cannot make
// the reader inflate gigabytes.
class XlsxPackage {
  public:
    enum class PartResult { Ok, Missing, Damaged, TooLarge };

    struct Relationship {
        std::string id;
        std::string type;    // full type URI
        std::string target;  // part name resolved against the source part, no leading '/'
    };

    static constexpr uint64_t kMaxPartBytes = 64ull << 20;

    XlsxPackage() = default;
    XlsxPackage(const XlsxPackage&) = delete;
    XlsxPackage& operator=(const XlsxPackage&) = delete;
    ~XlsxPackage();

    bool OpenFile(const std::filesystem::path& file);
    bool OpenMemory(const void* data, size_t size);

    PartResult ParsePart(const std::string& part, XmlPartHandler& handler) const;
    // Relationships of a part ("" for the package itself), in document order.
    PartResult ReadRelationships(const std::string& sourcePart,
                                 std::vector<Relationship>& relationships) const;

    static std::string ResolveTarget(const std::string& sourcePart, std::string_view target);

  private:
    zip* archive_ = nullptr;
};

}  // namespace velterra
