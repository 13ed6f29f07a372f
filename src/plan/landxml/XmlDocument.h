#pragma once

// The XML library's document behind the LandXML folder's own types: parsed without network
// access, without loading a DTD and without expanding entities. Only this folder includes it.

#include <libxml/tree.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace modKestralMGA::landxml {

// A parsed LandXML file. The file is read whole; a document that is not well formed, that the
// library refuses (an entity reference loop, entities that grow too large) or that holds a
// DOCTYPE is refused with a FileError that names the file and the line.
class XmlDocument {
 public:
  // Parses bytes; name is the file's name in messages.
  XmlDocument(std::string_view bytes, std::string name);
  ~XmlDocument();
  XmlDocument(const XmlDocument&) = delete;
  XmlDocument& operator=(const XmlDocument&) = delete;

  xmlNode* Root() const { return xmlDocGetRootElement(m_doc); }
  const std::string& Name() const { return m_name; }

 private:
  xmlDoc* m_doc = nullptr;
  std::string m_name;
};

// The element's local name (without a namespace prefix).
std::string_view ElementName(const xmlNode* element);
// The element's line in the file, from 1; 0 when unknown.
std::int64_t ElementLine(const xmlNode* element);
// The attribute's value, or nothing when the element has no such attribute.
std::optional<std::string> Attribute(const xmlNode* element, const char* name);
// The element's text content, entity references not expanded.
std::string ElementText(const xmlNode* element);
// Every element in the subtree of root, root included, in document order.
std::vector<xmlNode*> Elements(xmlNode* root);
// Every element named name in the subtree of root, root included, in document order.
std::vector<xmlNode*> ElementsNamed(xmlNode* root, std::string_view name);
// The first child element of parent named name, or nullptr.
xmlNode* ChildNamed(xmlNode* parent, std::string_view name);
// "<element> at line N of <file>".
std::string Where(const xmlNode* element, const std::string& file);

}  // namespace modKestralMGA::landxml
