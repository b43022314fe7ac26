#pragma once

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "tavrel/command/ICommandBase.h"
#include "tavrel/fn/Function.h"
#include "tavrel/fn/ParameterList.h"

namespace tavrel {

// A command made by this service: a handler taking only text arguments as far as the service
// is concerned (the framework converts them to the handler's parameter types).
class CCommand final : public ICommandBase {
 public:
  // Takes ownership of both handlers; the description handler may be null.
  CCommand(std::u16string name, fn::IFunctionBase* handler, fn::IFunctionBase* description,
           fn::ParameterList parameters);

  void setParameters(const fn::ParameterList& parameters) override;
  std::u16string name() const override { return name_; }
  std::u16string describe(const std::u16string& argument) override;

  fn::ParameterList parameters() const;
  // Calls the handler. Empty, with one error line and without a call, when the arguments do
  // not match the handler's parameters in count or type.
  std::optional<fn::TextCallResult> run(const fn::ParameterList& arguments);

 private:
  struct Releaser {
    void operator()(IResource* resource) const { resource->release(); }
  };
  using Handler = std::unique_ptr<fn::IFunctionBase, Releaser>;

  const std::u16string name_;
  const Handler handler_;
  const Handler description_;
  mutable std::mutex parametersMutex_;  // the shell may set them while another thread runs
  fn::ParameterList parameters_;
};

// The createCommand of the CommandInterface: a new command owned by the caller, or null with
// one error line when the name or a handler is unusable. Both handlers are released then.
ICommandBase* makeCommand(std::u16string name, fn::IFunctionBase* handler,
                          fn::IFunctionBase* description, fn::ParameterList parameters);

}  // namespace tavrel
