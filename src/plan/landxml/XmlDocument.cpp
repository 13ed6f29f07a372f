#include "plan/landxml/XmlDocument.h"

#include <libxml/parser.h>

#include <limits>

#include "common/Errors.h"
#include "common/NumberFormat.h"

namespace modKestralMGA::landxml {

namespace {

// No network, no DTD loading, no entity substitution (XML_PARSE_NOENT and XML_PARSE_DTDLOAD are
// left out on purpose), no messages of the library's own on standard error, and line numbers
// past 65535 kept.
constexpr int kParseOptions =
    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_BIG_LINES;

std::string LineText(std::int64_t line) {
  return FormatNumber(static_cast<double>(line), kFormatCount);
}

// The library's message without its closing line feed.
std::string Trimmed(const char* message) {
  std::string text = message == nullptr ? "unreadable" : message;
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

}  // namespace

XmlDocument::XmlDocument(std::string_view bytes, std::string name) : m_name(std::move(name)) {
  if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
    throw FileError(m_name + " is too large to read as LandXML");
  }
  xmlParserCtxt* context = xmlNewParserCtxt();
  if (context == nullptr) throw FileError("Not enough memory to read " + m_name);
  m_doc = xmlCtxtReadMemory(context, bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                            kParseOptions);
  if (m_doc == nullptr) {
    const xmlError* error = xmlCtxtGetLastError(context);
    const std::string line = error != nullptr && error->line > 0 ? LineText(error->line) : "1";
    const std::string what = Trimmed(error != nullptr ? error->message : nullptr);
    xmlFreeParserCtxt(context);
    throw FileError("Not well formed at line " + line + " of " + m_name + ": " + what);
  }
  xmlFreeParserCtxt(context);
  if (m_doc->intSubset != nullptr) {
    const std::string where = Root() != nullptr ? Where(Root(), m_name) : m_name;
    xmlFreeDoc(m_doc);
    m_doc = nullptr;
    throw FileError("DOCTYPE refused before " + where +
                    ": a LandXML plan's entities and DTDs are never read");
  }
  if (Root() == nullptr) {
    xmlFreeDoc(m_doc);
    m_doc = nullptr;
    throw FileError("No element in " + m_name);
  }
}

XmlDocument::~XmlDocument() {
  if (m_doc != nullptr) xmlFreeDoc(m_doc);
}

std::string_view ElementName(const xmlNode* element) {
  return reinterpret_cast<const char*>(element->name);
}

std::int64_t ElementLine(const xmlNode* element) {
  const long line = xmlGetLineNo(element);
  return line > 0 ? static_cast<std::int64_t>(line) : 0;
}

std::optional<std::string> Attribute(const xmlNode* element, const char* name) {
  xmlChar* value = xmlGetNoNsProp(element, reinterpret_cast<const xmlChar*>(name));
  if (value == nullptr) return std::nullopt;
  std::string text(reinterpret_cast<const char*>(value));
  xmlFree(value);
  return text;
}

std::string ElementText(const xmlNode* element) {
  std::string text;
  for (const xmlNode* child = element->children; child != nullptr; child = child->next) {
    if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) &&
        child->content != nullptr) {
      text += reinterpret_cast<const char*>(child->content);
    }
  }
  return text;
}

std::vector<xmlNode*> ElementsNamed(xmlNode* root, std::string_view name) {
  std::vector<xmlNode*> found;
  for (xmlNode* element : Elements(root)) {
    if (ElementName(element) == name) found.push_back(element);
  }
  return found;
}

std::vector<xmlNode*> Elements(xmlNode* root) {
  std::vector<xmlNode*> found;
  std::vector<xmlNode*> pending{root};
  // Depth first, children in order: document order without recursion.
  while (!pending.empty()) {
    xmlNode* node = pending.back();
    pending.pop_back();
    if (node->type != XML_ELEMENT_NODE) continue;
    found.push_back(node);
    std::vector<xmlNode*> children;
    for (xmlNode* child = node->children; child != nullptr; child = child->next) {
      children.push_back(child);
    }
    pending.insert(pending.end(), children.rbegin(), children.rend());
  }
  return found;
}

xmlNode* ChildNamed(xmlNode* parent, std::string_view name) {
  for (xmlNode* child = parent->children; child != nullptr; child = child->next) {
    if (child->type == XML_ELEMENT_NODE && ElementName(child) == name) return child;
  }
  return nullptr;
}

std::string Where(const xmlNode* element, const std::string& file) {
  return std::string(ElementName(element)) + " at line " + LineText(ElementLine(element)) + " of " +
         file;
}

}  // namespace modKestralMGA::landxml
