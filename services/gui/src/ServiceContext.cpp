#include "ServiceContext.h"

#include <cstdio>
#include <exception>

namespace tavrel::gui {

ServiceContext& serviceContext() {
  static ServiceContext context;
  return context;
}

void reportFailure(const excpt::IException& failure) {
  if (serviceContext().hub != nullptr) {
    serviceContext().hub->report(failure);
  } else {
    failure.report();
  }
}

namespace {

template <class Work>
void* guarded(Work&& work) {
  try {
    return work();
  } catch (const excpt::IException& failure) {
    reportFailure(failure);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "gui: a command failed: %s\n", failure.what());
  }
  return nullptr;
}

}  // namespace

void* runCommandLine(const std::u16string& line) {
  ServiceContext& context = serviceContext();
  if (context.getDispatcher.empty()) {
    return nullptr;
  }
  ICommandDispatcher* dispatcher = context.getDispatcher();
  if (dispatcher == nullptr) {
    return nullptr;
  }
  return guarded([&] { return dispatcher->executeLine(line, 1); });
}

std::uint16_t commandIdOf(const std::u16string& line) {
  ServiceContext& context = serviceContext();
  ICommandCache* cache = context.getCache.empty() ? nullptr : context.getCache();
  return cache != nullptr ? cache->id(line) : 0;
}

void runCommandId(std::uint16_t id) {
  ServiceContext& context = serviceContext();
  ICommandCache* cache = context.getCache.empty() ? nullptr : context.getCache();
  if (cache != nullptr) {
    guarded([&] { return cache->execute(id); });
  }
}

}  // namespace tavrel::gui
