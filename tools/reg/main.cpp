// quillmoor-reg: looks at and edits the program's registry store from the
// command line, with the operations and output of the usual reg tool.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace {

using platform::RegistryKey;
using platform::RegistryValue;
using platform::RootKey;

constexpr const char* kUsage =
    "Usage:\n"
    "  quillmoor-reg query  KEY [/v NAME | /ve]\n"
    "  quillmoor-reg add    KEY [/v NAME | /ve] [/t TYPE] [/s SEPARATOR] [/d DATA] [/f]\n"
    "  quillmoor-reg delete KEY [/v NAME | /ve | /va] [/f]\n"
    "KEY starts with HKLM, HKCU, HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER.\n"
    "TYPE is REG_SZ (the default), REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD,\n"
    "REG_DWORD_BIG_ENDIAN, REG_QWORD, REG_BINARY or REG_NONE.\n";

struct Failure {
  std::string message;
};

std::string Upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

struct KeyName {
  RootKey root;
  std::string path;  // without the root, without leading separators
  std::string full;  // as the output shows it
};

KeyName ParseKey(const std::string& text) {
  size_t split = text.find('\\');
  std::string root = Upper(text.substr(0, split));
  std::string path = split == std::string::npos ? "" : text.substr(split + 1);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  if (root == "HKLM" || root == "HKEY_LOCAL_MACHINE")
    return {RootKey::LocalMachine, path, "HKEY_LOCAL_MACHINE" + (path.empty() ? "" : "\\" + path)};
  if (root == "HKCU" || root == "HKEY_CURRENT_USER")
    return {RootKey::CurrentUser, path, "HKEY_CURRENT_USER" + (path.empty() ? "" : "\\" + path)};
  throw Failure{"Invalid key name: \"" + text + "\" (the root must be HKLM or HKCU)."};
}

struct Arguments {
  std::string operation;
  KeyName key;
  std::optional<std::string> value;  // "" for /ve
  bool all_values = false;
  std::optional<std::string> type, data, separator;
  bool force = false;
};

Arguments ParseArguments(int argc, char** argv) {
  if (argc < 3) throw Failure{"Invalid syntax."};
  Arguments args;
  args.operation = Upper(argv[1]);
  if (args.operation != "QUERY" && args.operation != "ADD" && args.operation != "DELETE")
    throw Failure{"Invalid operation: \"" + std::string(argv[1]) + "\"."};
  args.key = ParseKey(argv[2]);
  for (int i = 3; i < argc; ++i) {
    std::string option = Upper(argv[i]);
    if (option.size() < 2 || (option[0] != '/' && option[0] != '-')) throw Failure{"Invalid syntax: \"" + std::string(argv[i]) + "\"."};
    option = option.substr(1);
    auto next = [&]() -> std::string {
      if (i + 1 >= argc) throw Failure{"Option /" + option + " needs a value."};
      return argv[++i];
    };
    auto once = [&](std::optional<std::string>& slot, std::string given) {
      if (slot) throw Failure{"Option /" + option + " given twice, or with a contrary option."};
      slot = std::move(given);
    };
    bool query = args.operation == "QUERY", add = args.operation == "ADD";
    if (option == "V") once(args.value, next());
    else if (option == "VE") once(args.value, "");
    else if (option == "VA" && args.operation == "DELETE") args.all_values = true;
    else if (option == "T" && add) once(args.type, Upper(next()));
    else if (option == "D" && add) once(args.data, next());
    else if (option == "S" && add) once(args.separator, next());
    else if (option == "F" && !query) args.force = true;
    else throw Failure{"Invalid option for " + Upper(argv[1]) + ": \"" + std::string(argv[i]) + "\"."};
  }
  if (args.all_values && args.value) throw Failure{"/va cannot go with /v or /ve."};
  if (args.operation == "ADD" && !args.value && (args.type || args.data))
    throw Failure{"/t and /d need /v NAME or /ve."};
  return args;
}

constexpr const char* kTypeNames[] = {
    "REG_NONE", "REG_SZ", "REG_EXPAND_SZ", "REG_BINARY", "REG_DWORD", "REG_DWORD_BIG_ENDIAN", "REG_LINK",
    "REG_MULTI_SZ", "REG_RESOURCE_LIST", "REG_FULL_RESOURCE_DESCRIPTOR", "REG_RESOURCE_REQUIREMENTS_LIST", "REG_QWORD"};

std::string TypeName(uint32_t type) {
  if (type < std::size(kTypeNames)) return kTypeNames[type];
  return "REG_UNKNOWN(" + std::to_string(type) + ")";
}

uint64_t ParseNumber(const std::string& text, uint64_t max) {
  if (text.empty()) return 0;
  bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  size_t used = 0;
  uint64_t number = 0;
  try {
    if (text[0] == '-' || text[0] == '+') throw Failure{};
    number = std::stoull(text, &used, hex ? 16 : 10);
  } catch (...) {
    used = 0;
  }
  if (used != text.size() || number > max) throw Failure{"Invalid number for this type: \"" + text + "\"."};
  return number;
}

std::string LittleEndian(uint64_t number, int bytes) {
  std::string data;
  for (int i = 0; i < bytes; ++i) data += static_cast<char>((number >> (8 * i)) & 0xFF);
  return data;
}

std::string ParseHex(const std::string& text) {
  static const std::string digits = "0123456789ABCDEF";
  std::string upper = Upper(text), data;
  if (upper.size() % 2 != 0 || upper.find_first_not_of(digits) != std::string::npos)
    throw Failure{"Invalid hexadecimal data: \"" + text + "\"."};
  for (size_t i = 0; i < upper.size(); i += 2)
    data += static_cast<char>(digits.find(upper[i]) * 16 + digits.find(upper[i + 1]));
  return data;
}

std::pair<uint32_t, std::string> EncodeData(const Arguments& args) {
  std::string type = args.type.value_or("REG_SZ"), text = args.data.value_or("");
  if (type == "REG_SZ" || type == "REG_EXPAND_SZ")
    return {type == "REG_SZ" ? platform::kRegSz : platform::kRegExpandSz, text + '\0'};
  if (type == "REG_MULTI_SZ") {
    std::string separator = args.separator.value_or("\\0"), data;
    if (separator.empty()) throw Failure{"The separator may not be empty."};
    for (size_t start = 0; !text.empty();) {
      size_t end = text.find(separator, start);
      data += text.substr(start, end - start) + '\0';
      if (end == std::string::npos) break;
      start = end + separator.size();
    }
    return {platform::kRegMultiSz, data + '\0'};
  }
  if (type == "REG_DWORD") return {platform::kRegDword, LittleEndian(ParseNumber(text, 0xFFFFFFFFu), 4)};
  if (type == "REG_DWORD_BIG_ENDIAN") {
    std::string data = LittleEndian(ParseNumber(text, 0xFFFFFFFFu), 4);
    return {5, std::string(data.rbegin(), data.rend())};
  }
  if (type == "REG_QWORD") return {platform::kRegQword, LittleEndian(ParseNumber(text, UINT64_MAX), 8)};
  if (type == "REG_BINARY") return {platform::kRegBinary, ParseHex(text)};
  if (type == "REG_NONE") return {platform::kRegNone, ParseHex(text)};
  throw Failure{"Invalid type: \"" + type + "\"."};
}

uint64_t ReadLittleEndian(const std::string& data) {
  uint64_t number = 0;
  for (size_t i = data.size(); i-- > 0;) number = (number << 8) | static_cast<unsigned char>(data[i]);
  return number;
}

std::string ShowData(const RegistryValue& value) {
  const std::string& data = value.data;
  char buffer[32];
  switch (value.type) {
    case platform::kRegSz:
    case platform::kRegExpandSz:
      return data.substr(0, data.find('\0'));
    case platform::kRegMultiSz: {
      std::string shown;
      for (size_t start = 0; start < data.size() && data[start] != '\0';) {
        size_t end = data.find('\0', start);
        if (!shown.empty()) shown += "\\0";
        shown += data.substr(start, end - start);
        start = end == std::string::npos ? data.size() : end + 1;
      }
      return shown;
    }
    case platform::kRegDword:
    case platform::kRegQword:
      if (data.size() == (value.type == platform::kRegDword ? 4u : 8u)) {
        std::snprintf(buffer, sizeof buffer, "0x%llx", static_cast<unsigned long long>(ReadLittleEndian(data)));
        return buffer;
      }
      break;
    case 5:
      if (data.size() == 4) {
        std::snprintf(buffer, sizeof buffer, "0x%llx",
                      static_cast<unsigned long long>(ReadLittleEndian(std::string(data.rbegin(), data.rend()))));
        return buffer;
      }
      break;
  }
  std::string hex;
  for (unsigned char c : data) {
    std::snprintf(buffer, sizeof buffer, "%02X", c);
    hex += buffer;
  }
  return hex;
}

std::string ValueLine(const RegistryValue& value) {
  return "    " + (value.name.empty() ? std::string("(Default)") : value.name) + "    " + TypeName(value.type) +
         "    " + ShowData(value);
}

// The store itself must open before a missing key can be told apart.
RegistryKey OpenExisting(const KeyName& key) {
  if (!RegistryKey::Open(key.root, "", false))
    throw Failure{"The registry store cannot be opened for reading and writing (no rights, read-only or damaged)."};
  std::optional<RegistryKey> opened = RegistryKey::Open(key.root, key.path, false);
  if (!opened) throw Failure{"The system was unable to find the specified registry key or value."};
  return std::move(*opened);
}

bool Confirm(const std::string& question) {
  std::cout << question << " (Yes/No)? " << std::flush;
  std::string answer;
  if (!std::getline(std::cin, answer)) return false;
  answer = Upper(answer);
  return answer == "Y" || answer == "YES";
}

int Query(const Arguments& args) {
  RegistryKey key = OpenExisting(args.key);
  std::cout << "\n" << args.key.full << "\n";
  if (args.value) {
    std::optional<RegistryValue> value = key.Get(*args.value);
    if (!value) throw Failure{"The system was unable to find the specified registry key or value."};
    std::cout << ValueLine(*value) << "\n\n";
    return 0;
  }
  for (const RegistryValue& value : key.Values()) std::cout << ValueLine(value) << "\n";
  std::cout << "\n";
  for (const std::string& sub : key.SubKeys()) std::cout << args.key.full << "\\" << sub << "\n";
  return 0;
}

int Add(const Arguments& args) {
  std::optional<std::pair<uint32_t, std::string>> encoded;
  if (args.value) encoded = EncodeData(args);  // bad data fails before anything is created
  OpenExisting({args.key.root, "", ""});
  std::optional<RegistryKey> key = RegistryKey::Open(args.key.root, args.key.path, true);
  if (!key) throw Failure{"The key could not be created."};
  if (encoded) {
    if (key->Get(*args.value) && !args.force && !Confirm("Value " + *args.value + " exists, overwrite")) {
      std::cout << "The operation was cancelled.\n";
      return 1;
    }
    if (!key->Set(*args.value, encoded->first, encoded->second)) throw Failure{"The store refused the write."};
  }
  std::cout << "The operation completed successfully.\n";
  return 0;
}

int Delete(const Arguments& args) {
  RegistryKey key = OpenExisting(args.key);
  if (!args.value && !args.all_values) {
    if (args.key.path.empty()) throw Failure{"A hive's root cannot be deleted."};
    if (!args.force && !Confirm("Permanently delete the registry key " + args.key.full)) {
      std::cout << "The operation was cancelled.\n";
      return 1;
    }
    if (!RegistryKey::DeleteTree(args.key.root, args.key.path)) throw Failure{"The key could not be deleted."};
  } else {
    if (args.value && !key.Get(*args.value))
      throw Failure{"The system was unable to find the specified registry key or value."};
    std::string what = args.all_values ? "all values under " + args.key.full : "the registry value " + *args.value;
    if (!args.force && !Confirm("Delete " + what)) {
      std::cout << "The operation was cancelled.\n";
      return 1;
    }
    std::vector<std::string> names;
    if (args.all_values)
      for (const RegistryValue& value : key.Values()) names.push_back(value.name);
    else
      names.push_back(*args.value);
    for (const std::string& name : names)
      if (!key.Remove(name)) throw Failure{"The value " + name + " could not be deleted."};
  }
  std::cout << "The operation completed successfully.\n";
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string(argv[1]) == "/?" || std::string(argv[1]) == "--help")) {
    std::cout << kUsage;
    return 0;
  }
  try {
    Arguments args = ParseArguments(argc, argv);
    if (args.operation == "QUERY") return Query(args);
    if (args.operation == "ADD") return Add(args);
    return Delete(args);
  } catch (const Failure& failure) {
    std::cerr << "ERROR: " << failure.message << "\nType \"quillmoor-reg /?\" for usage.\n";
    return 1;
  }
}
