#include "tools/ui2rc/xml.h"

#include <algorithm>
#include <stdexcept>

namespace {

class XmlParser {
 public:
  explicit XmlParser(std::string_view text) : text_(text) {}

  XmlElement Document() {
    SkipMisc();
    XmlElement root = Element();
    SkipMisc();
    if (at_ != text_.size()) {
      Fail("content after the root element");
    }
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    const auto line = std::count(text_.begin(), text_.begin() + at_, '\n') + 1;
    throw std::runtime_error("line " + std::to_string(line) + ": " + what);
  }

  bool LookingAt(std::string_view token) const { return text_.substr(at_, token.size()) == token; }

  void Expect(std::string_view token) {
    if (!LookingAt(token)) {
      Fail("expected \"" + std::string(token) + "\"");
    }
    at_ += token.size();
  }

  // Moves past `end`, which must follow.
  void SkipPast(std::string_view end) {
    const std::size_t found = text_.find(end, at_);
    if (found == std::string_view::npos) {
      Fail("no closing \"" + std::string(end) + "\"");
    }
    at_ = found + end.size();
  }

  void SkipSpace() {
    while (at_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
      ++at_;
    }
  }

  // White space, comments, the prolog and a document type between elements.
  void SkipMisc() {
    for (SkipSpace(); LookingAt("<?") || LookingAt("<!--") || LookingAt("<!DOCTYPE"); SkipSpace()) {
      SkipPast(LookingAt("<?") ? "?>" : LookingAt("<!--") ? "-->" : ">");
    }
  }

  std::string Name() {
    const std::size_t start = at_;
    while (at_ < text_.size() &&
           std::string_view(" \t\r\n/>=").find(text_[at_]) == std::string_view::npos) {
      ++at_;
    }
    if (at_ == start) {
      Fail("expected a name");
    }
    return std::string(text_.substr(start, at_ - start));
  }

  // Appends the character that reference `name` (between & and ;) stands for.
  void AppendReference(std::string_view name, std::string& out) const {
    static constexpr std::pair<std::string_view, char> kNamed[] = {
        {"lt", '<'}, {"gt", '>'}, {"amp", '&'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entity, character] : kNamed) {
      if (name == entity) {
        out += character;
        return;
      }
    }
    if (name.size() < 2 || name[0] != '#') {
      Fail("unknown reference &" + std::string(name) + ";");
    }
    const bool hex = name[1] == 'x';
    const unsigned long code =
        std::stoul(std::string(name.substr(hex ? 2 : 1)), nullptr, hex ? 16 : 10);
    AppendUtf8(static_cast<char32_t>(code), out);
  }

  static void AppendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  // Character data up to the next '<' (or `quote` in an attribute value).
  std::string CharacterData(char end) {
    std::string out;
    while (at_ < text_.size() && text_[at_] != end) {
      if (text_[at_] == '&') {
        const std::size_t semicolon = text_.find(';', at_);
        if (semicolon == std::string_view::npos) {
          Fail("a reference without \";\"");
        }
        AppendReference(text_.substr(at_ + 1, semicolon - at_ - 1), out);
        at_ = semicolon + 1;
      } else {
        out += text_[at_++];
      }
    }
    return out;
  }

  void Attributes(XmlElement& element) {
    for (SkipSpace(); !LookingAt(">") && !LookingAt("/>"); SkipSpace()) {
      std::string name = Name();
      SkipSpace();
      Expect("=");
      SkipSpace();
      const char quote = at_ < text_.size() ? text_[at_] : '\0';
      if (quote != '"' && quote != '\'') {
        Fail("an attribute value without quotes");
      }
      ++at_;
      std::string value = CharacterData(quote);
      Expect(std::string_view(&quote, 1));
      element.Attributes.emplace_back(std::move(name), std::move(value));
    }
  }

  XmlElement Element() {
    Expect("<");
    XmlElement element;
    element.Name = Name();
    Attributes(element);
    if (LookingAt("/>")) {
      at_ += 2;
      return element;
    }
    Expect(">");
    while (!LookingAt("</")) {
      if (at_ >= text_.size()) {
        Fail("element <" + element.Name + "> is not closed");
      }
      if (LookingAt("<!--")) {
        SkipPast("-->");
      } else if (LookingAt("<![CDATA[")) {
        at_ += 9;
        const std::size_t start = at_;
        SkipPast("]]>");
        element.Text += text_.substr(start, at_ - 3 - start);
      } else if (LookingAt("<")) {
        element.Children.push_back(Element());
      } else {
        element.Text += CharacterData('<');
      }
    }
    at_ += 2;
    if (Name() != element.Name) {
      Fail("element <" + element.Name + "> is closed by another");
    }
    SkipSpace();
    Expect(">");
    return element;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace

const XmlElement* XmlElement::Child(std::string_view name) const {
  const auto found = std::find_if(Children.begin(), Children.end(),
                                  [&](const XmlElement& child) { return child.Name == name; });
  return found != Children.end() ? &*found : nullptr;
}

std::string XmlElement::Attribute(std::string_view name) const {
  for (const auto& [key, value] : Attributes) {
    if (key == name) {
      return value;
    }
  }
  return {};
}

XmlElement ParseXml(std::string_view document) {
  return XmlParser(document).Document();
}
