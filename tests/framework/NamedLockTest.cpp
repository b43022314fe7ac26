#include <gtest/gtest.h>

#include <unistd.h>

#include <thread>

#include "tavrel/Memory.h"
#include "tavrel/Singleton.h"
#include "tavrel/ThreadLock.h"
#include "tavrel/excpt/Exception.h"

using namespace tavrel;

namespace {

bool takenElsewhere(auto& lock) {
  bool taken = false;
  std::thread([&] {
    taken = lock.try_lock();
    if (taken) {
      lock.unlock();
    }
  }).join();
  return taken;
}

}  // namespace

TEST(NamedLock, ProcessLockIsNamedAfterTheProcess) {
  const std::string pid = std::to_string(::getpid());
  EXPECT_EQ(CMemory::processLockName(), u"TAvrelLock" + std::u16string(pid.begin(), pid.end()));
  CMemory memory;
  EXPECT_EQ(&memory.processLock(), &openNamedLock(CMemory::processLockName()));
}

TEST(NamedLock, SameNameSameLockAndOwnerMayRetake) {
  CNamedLock& lock = openNamedLock(u"TestLockA");
  EXPECT_EQ(&lock, &openNamedLock(u"TestLockA"));
  EXPECT_NE(&lock, &openNamedLock(u"TestLockB"));
  std::lock_guard outer(lock);
  std::lock_guard inner(lock);
  EXPECT_FALSE(takenElsewhere(lock));
}

TEST(NamedLock, NamesThatCannotBeMadeRaise9999) {
  EXPECT_THROW(openNamedLock(u""), excpt::ProcessMutexException);
  EXPECT_THROW(openNamedLock(u"Global\\TAvrelLock"), excpt::ProcessMutexException);
  EXPECT_THROW(openNamedLock(std::u16string(261, u'x')), excpt::ProcessMutexException);
}

TEST(ThreadLock, HeldForAScope) {
  CThreadLock lock;
  {
    CThreadLock::Scope held(lock);
    CThreadLock::Scope again(lock);
    EXPECT_FALSE(takenElsewhere(lock));
  }
  EXPECT_TRUE(takenElsewhere(lock));
}
