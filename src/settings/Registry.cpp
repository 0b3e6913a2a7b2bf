#include "settings/Registry.h"


namespace {

[[noreturn]] void Fail(const char* before, const std::string& name, const char* after) {
  throw ERegistryException(std::string(before) + "'" + name + "'" + after);
}

}  // namespace

void TRegistry::SetRootKey(platform::RootKey root) {
  CloseKey();
  root_ = root;
}

bool TRegistry::OpenKey(const std::string& path, bool can_create) {
  CloseKey();
  key_ = platform::RegistryKey::Open(root_, path, can_create);
  return key_.has_value();
}

void TRegistry::CloseKey() { key_.reset(); }

int TRegistry::ValueCount() const { return key_ ? key_->ValueCount() : 0; }

bool TRegistry::ValueExists(const std::string& name) const { return key_ && key_->Get(name).has_value(); }

bool TRegistry::ReadBool(const std::string& name) const { return ReadInteger(name) != 0; }

int32_t TRegistry::ReadInteger(const std::string& name) const {
  std::optional<platform::RegistryValue> value = key_ ? key_->Get(name) : std::nullopt;
  if (!value || value->data.size() > 4) Fail("获得 ", name, " 数据失败");
  if (value->type != platform::kRegDword) Fail("无效的数据类型给予 ", name, "");
  // Stored little-endian; a hand-made value shorter than 4 bytes counts
  // with its missing high bytes as zero.
  uint32_t number = 0;
  for (size_t i = 0; i < value->data.size(); ++i)
    number |= static_cast<uint32_t>(static_cast<unsigned char>(value->data[i])) << (8 * i);
  return static_cast<int32_t>(number);
}

std::string TRegistry::ReadString(const std::string& name) const {
  std::optional<platform::RegistryValue> value = key_ ? key_->Get(name) : std::nullopt;
  if (!value) return {};
  if (value->type != platform::kRegSz && value->type != platform::kRegExpandSz)
    Fail("无效的数据类型给予 ", name, "");
  return value->data.substr(0, value->data.find('\0'));
}

void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteInteger(const std::string& name, int32_t value) {
  uint32_t number = static_cast<uint32_t>(value);
  std::string data(4, '\0');
  for (size_t i = 0; i < 4; ++i) data[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  Write(name, platform::kRegDword, data);
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  Write(name, platform::kRegSz, value + '\0');
}

void TRegistry::Write(const std::string& name, uint32_t type, const std::string& data) {
  if (!key_ || !key_->Set(name, type, data)) Fail("设置 ", name, " 数据失败");
}

bool TRegistry::DeleteValue(const std::string& name) { return key_ && key_->Remove(name); }

bool TRegistry::BeginExclusive() { return key_ && key_->BeginExclusive(); }

bool TRegistry::Commit() { return key_ && key_->Commit(); }

void TRegistry::Rollback() {
  if (key_) key_->Rollback();
}
