#include "lut/XlsxPackage.h"

#include <expat.h>
#include <zip.h>

#include <memory>

namespace velterra {

namespace {

std::string_view LocalName(const char* qualified) {
    std::string_view name(qualified);
    size_t bar = name.rfind('|');
    return bar == std::string_view::npos ? name : name.substr(bar + 1);
}

struct ParserContext {
    XML_Parser parser;
    XmlPartHandler& handler;
};

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
    auto* context = static_cast<ParserContext*>(data);
    context->handler.StartElement(LocalName(name), attributes);
    if (context->handler.failed) XML_StopParser(context->parser, XML_FALSE);
}

void XMLCALL OnEnd(void* data, const XML_Char* name) {
    auto* context = static_cast<ParserContext*>(data);
    context->handler.EndElement(LocalName(name));
    if (context->handler.failed) XML_StopParser(context->parser, XML_FALSE);
}

void XMLCALL OnText(void* data, const XML_Char* text, int length) {
    auto* context = static_cast<ParserContext*>(data);
    context->handler.CharacterData(std::string_view(text, static_cast<size_t>(length)));
    if (context->handler.failed) XML_StopParser(context->parser, XML_FALSE);
}

// A document type declaration has no place in a package part; refusing it keeps entity
// expansion out of the picture.
void XMLCALL OnDoctype(void* data, const XML_Char*, const XML_Char*, const XML_Char*, int) {
    auto* context = static_cast<ParserContext*>(data);
    context->handler.failed = true;
    XML_StopParser(context->parser, XML_FALSE);
}

class RelationshipsHandler : public XmlPartHandler {
  public:
    RelationshipsHandler(const std::string& sourcePart, std::vector<XlsxPackage::Relationship>& out)
        : sourcePart_(sourcePart), out_(out) {}

    void StartElement(std::string_view name, const char** attributes) override {
        if (name != "Relationship") return;
        if (Attribute(attributes, "TargetMode") == "External") return;
        XlsxPackage::Relationship relationship;
        relationship.id = Attribute(attributes, "Id");
        relationship.type = Attribute(attributes, "Type");
        relationship.target =
            XlsxPackage::ResolveTarget(sourcePart_, Attribute(attributes, "Target"));
        out_.push_back(std::move(relationship));
    }
    void EndElement(std::string_view) override {}

  private:
    const std::string& sourcePart_;
    std::vector<XlsxPackage::Relationship>& out_;
};

}  // namespace

std::string_view XmlPartHandler::Attribute(const char** attributes, std::string_view localName) {
    for (size_t i = 0; attributes[i] != nullptr; i += 2)
        if (LocalName(attributes[i]) == localName) return attributes[i + 1];
    return {};
}

XlsxPackage::~XlsxPackage() {
    if (archive_ != nullptr) zip_discard(archive_);
}

bool XlsxPackage::OpenFile(const std::filesystem::path& file) {
    int error = 0;
    archive_ = zip_open(file.c_str(), ZIP_RDONLY, &error);
    return archive_ != nullptr;
}

bool XlsxPackage::OpenMemory(const void* data, size_t size) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(data, size, 0, &error);
    if (source == nullptr) {
        zip_error_fini(&error);
        return false;
    }
    archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (archive_ == nullptr) zip_source_free(source);  // the archive owns it only on success
    zip_error_fini(&error);
    return archive_ != nullptr;
}

XlsxPackage::PartResult XlsxPackage::ParsePart(const std::string& part,
                                               XmlPartHandler& handler) const {
    if (archive_ == nullptr || part.empty()) return PartResult::Missing;
    zip_int64_t index = zip_name_locate(archive_, part.c_str(), ZIP_FL_NOCASE);
    if (index < 0) return PartResult::Missing;
    std::unique_ptr<zip_file_t, decltype(&zip_fclose)> entry(
        zip_fopen_index(archive_, static_cast<zip_uint64_t>(index), 0), &zip_fclose);
    if (!entry) return PartResult::Damaged;

    std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreateNS(nullptr, '|'), &XML_ParserFree);
    if (!parser) return PartResult::Damaged;
    ParserContext context{parser.get(), handler};
    XML_SetUserData(parser.get(), &context);
    XML_SetElementHandler(parser.get(), OnStart, OnEnd);
    XML_SetCharacterDataHandler(parser.get(), OnText);
    XML_SetStartDoctypeDeclHandler(parser.get(), OnDoctype);

    char buffer[64 * 1024];
    uint64_t total = 0;
    for (;;) {
        zip_int64_t got = zip_fread(entry.get(), buffer, sizeof buffer);
        if (got < 0) return PartResult::Damaged;  // inflate or checksum error
        total += static_cast<uint64_t>(got);
        if (total > kMaxPartBytes) return PartResult::TooLarge;
        bool last = got == 0;
        if (XML_Parse(parser.get(), buffer, static_cast<int>(got), last) != XML_STATUS_OK)
            return PartResult::Damaged;
        if (last) break;
    }
    return handler.failed ? PartResult::Damaged : PartResult::Ok;
}

XlsxPackage::PartResult XlsxPackage::ReadRelationships(
    const std::string& sourcePart, std::vector<Relationship>& relationships) const {
    std::string relsPart;
    size_t slash = sourcePart.rfind('/');
    if (slash == std::string::npos)
        relsPart = "_rels/" + sourcePart + ".rels";
    else
        relsPart =
            sourcePart.substr(0, slash + 1) + "_rels/" + sourcePart.substr(slash + 1) + ".rels";
    RelationshipsHandler handler(sourcePart, relationships);
    return ParsePart(relsPart, handler);
}

std::string XlsxPackage::ResolveTarget(const std::string& sourcePart, std::string_view target) {
    std::string path;
    if (!target.empty() && target.front() == '/') {
        target.remove_prefix(1);
    } else {
        size_t slash = sourcePart.rfind('/');
        if (slash != std::string::npos) path = sourcePart.substr(0, slash);
    }
    // Walk the segments so "../" and "./" land where a package reader would put them.
    std::vector<std::string> segments;
    auto push = [&segments](std::string_view segment) {
        if (segment.empty() || segment == ".") return;
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
            return;
        }
        segments.emplace_back(segment);
    };
    auto split = [&push](std::string_view text) {
        size_t start = 0;
        for (size_t i = 0; i <= text.size(); ++i) {
            if (i == text.size() || text[i] == '/') {
                push(text.substr(start, i - start));
                start = i + 1;
            }
        }
    };
    split(path);
    split(target);
    std::string resolved;
    for (const auto& segment : segments) {
        if (!resolved.empty()) resolved += '/';
        resolved += segment;
    }
    return resolved;
}

}  // namespace velterra
