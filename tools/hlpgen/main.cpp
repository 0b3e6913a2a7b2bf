// Builds the program's help file from its UTF-8 sources.
//
//   quillmoor-hlpgen BOOK OUTPUT
//
// BOOK names the help file's title and its topic files, the first of which
// is the contents:
//   help-title: <title>
//   topic: <file, relative to BOOK's folder>
// A topic file starts with "title:", "context:" and optionally "number:"
// lines; after them, paragraphs are separated by blank lines, the lines of
// one paragraph are joined, and a paragraph that starts with "# " is a
// heading. Lines that start with "//" are comments.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "help/HelpFile.h"
#include "platform/codepage.h"

namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Ansi(const std::string& utf8, const std::string& where) {
  auto ansi = platform::Utf8ToAnsiExact(utf8);
  if (!ansi) throw std::runtime_error(where + ": text that GB2312 cannot hold");
  return *ansi;
}

std::string Trim(const std::string& s) {
  size_t b = s.find_first_not_of(" \t\r"), e = s.find_last_not_of(" \t\r");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// "key: value" when the line has that key.
bool Field(const std::string& line, const std::string& key, std::string& value) {
  if (line.rfind(key + ":", 0) != 0) return false;
  value = Trim(line.substr(key.size() + 1));
  return true;
}

help::Topic ReadTopic(const std::filesystem::path& path) {
  std::istringstream in(ReadText(path));
  help::Topic topic;
  help::Paragraph current;
  bool in_header = true, has_text = false;
  auto flush = [&] {
    if (has_text) topic.paragraphs.push_back(current);
    current = {};
    has_text = false;
  };
  std::string line, value;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string where = path.string() + ":" + std::to_string(number);
    line = Trim(line);
    if (line.rfind("//", 0) == 0) continue;
    if (in_header) {
      if (Field(line, "title", value)) topic.title = Ansi(value, where);
      else if (Field(line, "context", value)) topic.context = value;
      else if (Field(line, "number", value)) topic.context_number = static_cast<uint32_t>(std::stoul(value));
      else if (line.empty()) in_header = false;
      else throw std::runtime_error(where + ": expected title, context or number");
      continue;
    }
    if (line.empty()) {
      flush();
      continue;
    }
    if (!has_text && line.rfind("# ", 0) == 0) {
      current.style = help::ParagraphStyle::kHeading;
      line = Trim(line.substr(2));
    }
    current.text += Ansi(line, where);
    has_text = true;
  }
  flush();
  if (topic.title.empty() || topic.context.empty()) throw std::runtime_error(path.string() + ": no title or context");
  return topic;
}

help::HelpFile ReadBook(const std::filesystem::path& book) {
  std::istringstream in(ReadText(book));
  help::HelpFile file;
  std::string line, value;
  for (int number = 1; std::getline(in, line); ++number) {
    line = Trim(line);
    if (line.empty() || line.rfind("//", 0) == 0) continue;
    if (Field(line, "help-title", value)) file.title = Ansi(value, book.string());
    else if (Field(line, "topic", value)) file.topics.push_back(ReadTopic(book.parent_path() / value));
    else throw std::runtime_error(book.string() + ":" + std::to_string(number) + ": expected help-title or topic");
  }
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: quillmoor-hlpgen BOOK OUTPUT\n";
    return 2;
  }
  try {
    const std::string bytes = help::Write(ReadBook(argv[1]));
    // Written beside the target and renamed, so a failed run leaves no
    // half-written help file behind.
    const std::string temp = std::string(argv[2]) + ".tmp";
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!out.flush()) throw std::runtime_error("cannot write " + temp);
    }
    std::filesystem::rename(temp, argv[2]);
  } catch (const std::exception& e) {
    std::cerr << "quillmoor-hlpgen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
