#pragma once
#include <functional>
#include <string>

namespace platform::test_hooks {

// Runs between listing a sub-folder and opening it, with the entry's name,
// so a test can change the disk at exactly that point. Empty by default;
// only tests set it.
void SetBeforeOpenChild(std::function<void(const std::string& name)> hook);

}  // namespace platform::test_hooks
