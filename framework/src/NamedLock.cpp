#include "tavrel/NamedLock.h"

#include <map>
#include <memory>

#include "tavrel/excpt/Exception.h"

namespace tavrel {
namespace {

constexpr std::size_t kMaxNameLength = 260;

struct Table {
  std::mutex mutex;
  std::map<std::u16string, std::unique_ptr<CNamedLock>> locks;
};

// Never destroyed: locks stay open until the last plug-in is gone at exit.
Table& table() {
  static Table* const instance = new Table;
  return *instance;
}

}  // namespace

CNamedLock& openNamedLock(const std::u16string& name) {
  if (name.empty() || name.size() > kMaxNameLength || name.find(u'\\') != std::u16string::npos) {
    throw excpt::ProcessMutexException();
  }
  Table& locks = table();
  std::lock_guard guard(locks.mutex);
  std::unique_ptr<CNamedLock>& slot = locks.locks[name];
  if (!slot) {
    slot = std::make_unique<CNamedLock>(name);
  }
  return *slot;
}

}  // namespace tavrel
