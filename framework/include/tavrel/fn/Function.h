#pragma once

#include <cstdio>
#include <cstring>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>

#include "tavrel/IResource.h"
#include "tavrel/fn/ParameterList.h"
#include "tavrel/fn/TextArguments.h"

namespace tavrel::fn {

// Marks an unused parameter place of a Function.
struct NullType {};

// Carries the result type of a Function.
template <class R>
struct ret {
  using type = R;
};

// The untyped face of every function object. A module built separately reaches an
// implementation only through these virtual calls, so no type identity has to be shared.
class TAVREL_API IFunctionBase : public IResource {
 public:
  virtual IFunctionBase* clone() const = 0;
  // Text naming the result and parameter types; compared by content, never by address.
  virtual const char* signature() const = 0;
  virtual int parameterCount() const = 0;
  // Calls with text arguments converted to the parameter types (wide text, integers, bool;
  // a pointer only from "" or "0"). Missing trailing arguments count as empty text. Returns
  // false without calling when an argument does not convert or there are too many.
  virtual bool callWithText(const ParameterList& arguments, TextCallResult& result) = 0;
};

class TAVREL_API FunBase : public IFunctionBase {};

namespace detail {

template <class R, class... P>
const char* signatureOf() {
  return __PRETTY_FUNCTION__;
}

inline void reportEmptyCall() {
  std::fputs("functionnoncompliant: cannot make call\n", stdout);
  std::fflush(stdout);
}

}  // namespace detail

// The typed face: what a Function calls.
template <class R, class... P>
class TAVREL_API ICallable : public FunBase {
 public:
  virtual R call(P... args) = 0;

  const char* signature() const final { return detail::signatureOf<R, P...>(); }
  int parameterCount() const final { return sizeof...(P); }

  bool callWithText(const ParameterList& arguments, TextCallResult& result) final {
    if (arguments.size() > sizeof...(P)) {
      return false;
    }
    return callConverted(arguments, result, std::index_sequence_for<P...>{});
  }

 private:
  template <std::size_t... I>
  bool callConverted(const ParameterList& arguments, TextCallResult& result,
                     std::index_sequence<I...>) {
    static const std::u16string missing;
    std::tuple<std::optional<std::decay_t<P>>...> converted{
        detail::fromText<P>(I < arguments.size() ? arguments[I] : missing)...};
    if (!(std::get<I>(converted).has_value() && ...)) {
      return false;
    }
    if constexpr (std::is_void_v<R>) {
      call(*std::get<I>(converted)...);
    } else {
      detail::storeResult(call(*std::get<I>(converted)...), result);
    }
    (void)result;
    return true;
  }
};

// Over a plain function.
template <class R, class... P>
class FreeFunction final : public ICallable<R, P...> {
 public:
  using Pointer = R (*)(P...);
  explicit FreeFunction(Pointer function) : function_(function) {}
  R call(P... args) override { return function_(std::forward<P>(args)...); }
  IFunctionBase* clone() const override { return new FreeFunction(*this); }

 private:
  Pointer function_;
};

// Over an object and one of its member functions; the object must outlive the function.
template <class C, class R, class... P>
class MemberFunction final : public ICallable<R, P...> {
 public:
  using Method = R (C::*)(P...);
  MemberFunction(C* object, Method method) : object_(object), method_(method) {}
  R call(P... args) override { return (object_->*method_)(std::forward<P>(args)...); }
  IFunctionBase* clone() const override { return new MemberFunction(*this); }

 private:
  C* object_;
  Method method_;
};

// Over any copyable callable, such as a lambda.
template <class F, class R, class... P>
class CallableFunction final : public ICallable<R, P...> {
 public:
  explicit CallableFunction(F callable) : callable_(std::move(callable)) {}
  R call(P... args) override { return callable_(std::forward<P>(args)...); }
  IFunctionBase* clone() const override { return new CallableFunction(*this); }

 private:
  F callable_;
};

// The implementation names, by parameter count and by whether the result is void.
template <class R>
using FunP0 = FreeFunction<R>;
template <class R, class P1>
using FunP1 = FreeFunction<R, P1>;
template <class R, class P1, class P2>
using FunP2 = FreeFunction<R, P1, P2>;
template <class R, class P1, class P2, class P3>
using FunP3 = FreeFunction<R, P1, P2, P3>;
template <class R, class P1, class P2, class P3, class P4>
using FunP4 = FreeFunction<R, P1, P2, P3, P4>;
template <class R, class P1, class P2, class P3, class P4, class P5>
using FunP5 = FreeFunction<R, P1, P2, P3, P4, P5>;
template <class R, class P1, class P2, class P3, class P4, class P5, class P6>
using FunP6 = FreeFunction<R, P1, P2, P3, P4, P5, P6>;

using VoidFunP0 = FunP0<void>;
template <class P1>
using VoidFunP1 = FunP1<void, P1>;
template <class P1, class P2>
using VoidFunP2 = FunP2<void, P1, P2>;
template <class P1, class P2, class P3>
using VoidFunP3 = FunP3<void, P1, P2, P3>;
template <class P1, class P2, class P3, class P4>
using VoidFunP4 = FunP4<void, P1, P2, P3, P4>;
template <class P1, class P2, class P3, class P4, class P5>
using VoidFunP5 = FunP5<void, P1, P2, P3, P4, P5>;
template <class P1, class P2, class P3, class P4, class P5, class P6>
using VoidFunP6 = FunP6<void, P1, P2, P3, P4, P5, P6>;

template <class R>
requires(!std::is_void_v<R>) using NonVoidFunP0 = FunP0<R>;
template <class R, class P1>
requires(!std::is_void_v<R>) using NonVoidFunP1 = FunP1<R, P1>;
template <class R, class P1, class P2>
requires(!std::is_void_v<R>) using NonVoidFunP2 = FunP2<R, P1, P2>;
template <class R, class P1, class P2, class P3>
requires(!std::is_void_v<R>) using NonVoidFunP3 = FunP3<R, P1, P2, P3>;
template <class R, class P1, class P2, class P3, class P4>
requires(!std::is_void_v<R>) using NonVoidFunP4 = FunP4<R, P1, P2, P3, P4>;
template <class R, class P1, class P2, class P3, class P4, class P5>
requires(!std::is_void_v<R>) using NonVoidFunP5 = FunP5<R, P1, P2, P3, P4, P5>;
template <class R, class P1, class P2, class P3, class P4, class P5, class P6>
requires(!std::is_void_v<R>) using NonVoidFunP6 = FunP6<R, P1, P2, P3, P4, P5, P6>;

template <class C, class R>
using MemberFunP0 = MemberFunction<C, R>;
template <class C, class R, class P1>
using MemberFunP1 = MemberFunction<C, R, P1>;
template <class C, class R, class P1, class P2>
using MemberFunP2 = MemberFunction<C, R, P1, P2>;

template <class C>
using VoidMemberFunP0 = MemberFunP0<C, void>;
template <class C, class P1>
using VoidMemberFunP1 = MemberFunP1<C, void, P1>;
template <class C, class P1, class P2>
using VoidMemberFunP2 = MemberFunP2<C, void, P1, P2>;

template <class C, class R>
requires(!std::is_void_v<R>) using NonVoidMemberFunP0 = MemberFunP0<C, R>;
template <class C, class R, class P1>
requires(!std::is_void_v<R>) using NonVoidMemberFunP1 = MemberFunP1<C, R, P1>;
template <class C, class R, class P1, class P2>
requires(!std::is_void_v<R>) using NonVoidMemberFunP2 = MemberFunP2<C, R, P1, P2>;

namespace detail {

template <class... T>
struct TypeList {};

template <class Kept, class... Rest>
struct StripNull;
template <class... Kept>
struct StripNull<TypeList<Kept...>> {
  using type = TypeList<Kept...>;
};
template <class... Kept, class Head, class... Rest>
struct StripNull<TypeList<Kept...>, Head, Rest...>
    : StripNull<std::conditional_t<std::is_same_v<Head, NullType>, TypeList<Kept...>,
                                   TypeList<Kept..., Head>>,
                Rest...> {};

}  // namespace detail

template <class R, class Parameters>
class BasicFunction;

// A value type owning one implementation. Copies clone the implementation, so a copy
// never shares state with its source.
template <class R, class... P>
class BasicFunction<R, detail::TypeList<P...>> {
 public:
  using Result = R;
  using Callable = ICallable<R, P...>;

  BasicFunction() = default;
  // Takes ownership of the implementation.
  explicit BasicFunction(Callable* implementation) : impl_(implementation) {}
  BasicFunction(R (*function)(P...))
      : impl_(function != nullptr ? new FreeFunction<R, P...>(function) : nullptr) {}
  template <class F>
  requires(std::is_invocable_r_v<R, F&, P...> &&
           !std::is_convertible_v<std::decay_t<F>, const IFunctionBase*> &&
           !std::is_same_v<std::decay_t<F>, BasicFunction>) BasicFunction(F callable)
      : impl_(new CallableFunction<std::decay_t<F>, R, P...>(std::move(callable))) {}

  BasicFunction(const BasicFunction& other) : impl_(cloneOf(other.impl_)) {}
  BasicFunction(BasicFunction&& other) noexcept : impl_(std::exchange(other.impl_, nullptr)) {}
  BasicFunction& operator=(BasicFunction other) noexcept {
    std::swap(impl_, other.impl_);
    return *this;
  }
  ~BasicFunction() { releaseResource(impl_); }

  // Calling an empty function object prints a notice and gives a zero result.
  R operator()(P... args) const {
    if (impl_ == nullptr) {
      detail::reportEmptyCall();
      if constexpr (!std::is_void_v<R>) {
        return R();
      } else {
        return;
      }
    }
    return impl_->call(std::forward<P>(args)...);
  }

  bool empty() const { return impl_ == nullptr; }
  explicit operator bool() const { return impl_ != nullptr; }

  const IFunctionBase* base() const { return impl_; }
  // Gives up ownership of the implementation (null when empty).
  IFunctionBase* detach() { return std::exchange(impl_, nullptr); }

  // Whether an untyped implementation has exactly this function's signature.
  static bool matches(const IFunctionBase* implementation) {
    return implementation != nullptr &&
           std::strcmp(implementation->signature(), detail::signatureOf<R, P...>()) == 0;
  }
  // Takes ownership when the signature matches; otherwise gives an empty function and the
  // caller keeps the implementation.
  static BasicFunction adopt(IFunctionBase* implementation) {
    return matches(implementation) ? BasicFunction(static_cast<Callable*>(implementation))
                                   : BasicFunction();
  }
  // A copy of an implementation owned elsewhere, or empty when the signature differs.
  static BasicFunction copyOf(const IFunctionBase* implementation) {
    return matches(implementation) ? BasicFunction(static_cast<Callable*>(implementation->clone()))
                                   : BasicFunction();
  }

 private:
  static Callable* cloneOf(const Callable* implementation) {
    return implementation != nullptr ? static_cast<Callable*>(implementation->clone()) : nullptr;
  }

  Callable* impl_ = nullptr;
};

// Function<ret<R>, P1, ..., P6>: parameter places not used hold NullType.
template <class Ret, class P1 = NullType, class P2 = NullType, class P3 = NullType,
          class P4 = NullType, class P5 = NullType, class P6 = NullType>
using Function =
    BasicFunction<typename Ret::type,
                  typename detail::StripNull<detail::TypeList<>, P1, P2, P3, P4, P5, P6>::type>;

// Factories that deduce the Function type.
template <class R, class... P>
BasicFunction<R, detail::TypeList<P...>> bind(R (*function)(P...)) {
  return BasicFunction<R, detail::TypeList<P...>>(function);
}

template <class C, class R, class... P>
BasicFunction<R, detail::TypeList<P...>> bind(C* object, R (C::*method)(P...)) {
  using Result = BasicFunction<R, detail::TypeList<P...>>;
  if (object == nullptr || method == nullptr) {
    return Result();
  }
  return Result(new MemberFunction<C, R, P...>(object, method));
}

}  // namespace tavrel::fn
