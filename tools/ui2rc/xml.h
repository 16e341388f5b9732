#pragma once

// A reader for the XML that Qt Designer writes: elements, attributes, text,
// character references, comments, a prolog and a document type. Enough for a
// .ui file; no namespaces, no DTD, no processing instructions in the body.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct XmlElement {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Attributes;
  std::string Text;  ///< All character data directly inside, references resolved.
  std::vector<XmlElement> Children;

  /// The first child named `name`, or null.
  const XmlElement* Child(std::string_view name) const;
  /// The value of attribute `name`, or an empty text.
  std::string Attribute(std::string_view name) const;
};

/// The root element of `document`. Throws std::runtime_error naming the
/// first thing it cannot read, with its line.
XmlElement ParseXml(std::string_view document);
