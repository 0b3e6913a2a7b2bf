#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace help {

// The content of a help file in the WinHelp 3.1 format, as far as this
// program writes and reads it: plain topics of paragraphs, each topic
// reachable by its context string and, when it has one, by its context
// number. Texts are bytes in the ANSI code page (GB2312).

enum class ParagraphStyle { kBody, kHeading };

struct Paragraph {
  ParagraphStyle style = ParagraphStyle::kBody;
  std::string text;
  bool operator==(const Paragraph&) const = default;
};

struct Topic {
  std::string title;
  // Letters, digits, "_" and "."; unique in the file.
  std::string context;
  // The number a program asks for (HELP_CONTEXT, HELP_CONTEXTPOPUP); 0 when
  // the topic has none.
  uint32_t context_number = 0;
  // A topic needs at least one paragraph; Write gives an empty one to a
  // topic without, so that every topic has a place of its own.
  std::vector<Paragraph> paragraphs;
  bool operator==(const Topic&) const = default;
};

struct HelpFile {
  std::string title;
  std::vector<Topic> topics;
  // Index into topics of the topic shown first (the contents).
  size_t contents_topic = 0;
  bool operator==(const HelpFile&) const = default;

  // The topic with this context number; nothing when none has it or the
  // number is 0.
  const Topic* FindByNumber(uint32_t context_number) const;
};

// The hash by which the format finds a topic from its context string.
uint32_t ContextHash(std::string_view context);

// The bytes of the help file. Throws std::invalid_argument for content the
// format cannot hold: no topics, a context string that is empty, has other
// characters or collides with another one, a context number used twice,
// NUL bytes in a text, or a contents index out of range.
std::string Write(const HelpFile& file);

// The content of a help file written by Write; nothing when the bytes are
// not such a file or are damaged. Compressed files are refused.
std::optional<HelpFile> Read(std::string_view bytes);

}  // namespace help
