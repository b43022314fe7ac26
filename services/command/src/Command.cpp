#include "Command.h"

#include <utility>

#include "ErrorLine.h"

namespace tavrel {

using DescriptionFunction = fn::Function<fn::ret<std::u16string>, std::u16string>;

CCommand::CCommand(std::u16string name, fn::IFunctionBase* handler, fn::IFunctionBase* description,
                   fn::ParameterList parameters)
    : name_(std::move(name)),
      handler_(handler),
      description_(description),
      parameters_(std::move(parameters)) {}

void CCommand::setParameters(const fn::ParameterList& parameters) {
  std::lock_guard lock(parametersMutex_);
  parameters_ = parameters;
}

fn::ParameterList CCommand::parameters() const {
  std::lock_guard lock(parametersMutex_);
  return parameters_;
}

std::u16string CCommand::describe(const std::u16string& argument) {
  if (!description_) {
    return {};
  }
  fn::TextCallResult result;
  description_->callWithText(fn::ParameterList{argument}, result);
  return result.text;
}

std::optional<fn::TextCallResult> CCommand::run(const fn::ParameterList& arguments) {
  const auto expected = static_cast<std::size_t>(handler_->parameterCount());
  if (arguments.size() != expected) {
    writeErrorLine(quoted(name_) + " takes " + std::to_string(expected) + " argument(s), not " +
                   std::to_string(arguments.size()) + "; not run");
    return std::nullopt;
  }
  fn::TextCallResult result;
  if (!handler_->callWithText(arguments, result)) {
    writeErrorLine("an argument of " + quoted(name_) + " does not fit its parameter; not run");
    return std::nullopt;
  }
  return result;
}

ICommandBase* makeCommand(std::u16string name, fn::IFunctionBase* handler,
                          fn::IFunctionBase* description, fn::ParameterList parameters) {
  const char* fault = nullptr;
  if (name.empty() || name.find(u' ') != std::u16string::npos) {
    fault = "a command name must be one word";
  } else if (handler == nullptr) {
    fault = "a command needs a handler";
  } else if (description != nullptr && !DescriptionFunction::matches(description)) {
    fault = "a description handler must take and return wide text";
  }
  if (fault != nullptr) {
    writeErrorLine(std::string(fault) + "; " + quoted(name) + " not created");
    releaseResource(handler);
    releaseResource(description);
    return nullptr;
  }
  return new CCommand(std::move(name), handler, description, std::move(parameters));
}

}  // namespace tavrel
