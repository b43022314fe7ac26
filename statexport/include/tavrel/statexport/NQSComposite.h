// Composites: a sequence of whole objects closed by the end marker.
#pragma once

#include <memory>

#include "tavrel/statexport/NQSObject.h"
#include "tavrel/statexport/Prologs.h"

namespace tavrel::statexport {

// One link of a composite's element chain.
struct NQSObBody {
  NQSObjectRef element;
  std::unique_ptr<NQSObBody> next;
};

class NQSComposite : public NQSObject {
 public:
  NQSComposite() = default;
  ~NQSComposite() override;

  virtual const char* openText() const = 0;
  virtual const char* closeText() const = 0;
  virtual NQSRef<NQSObject> createEmpty() const = 0;

  NQSRef<NQSObject> clone() const override;
  // Objects up to and including the end marker, which is consumed but not kept. Without a
  // marker the composite ends where the stream does.
  void parse(std::size_t& pos, ParseContext& context) override;
  // openText(), " ", the elements' texts joined by ", ", closeText().
  void toText(std::string& text) const override;

  void append(NQSObjectRef element);
  std::size_t count() const { return count_; }
  // The first element, or null for an empty composite.
  NQSObject* front() const { return first_ ? first_->element.get() : nullptr; }

 private:
  std::unique_ptr<NQSObBody> first_;
  NQSObBody* last_ = nullptr;
  std::size_t count_ = 0;
};

template <std::uint32_t Prolog, const char* Name, const char* Open, const char* Close>
class NQSDelimited final : public NQSComposite {
 public:
  std::uint32_t prolog() const override { return Prolog; }
  const char* typeName() const override { return Name; }
  const char* openText() const override { return Open; }
  const char* closeText() const override { return Close; }
  NQSRef<NQSObject> createEmpty() const override { return makeNQS<NQSDelimited>(); }
};

namespace composite_text {
inline constexpr char kList[] = "List";
inline constexpr char kListOpen[] = "{";
inline constexpr char kListClose[] = "}";
inline constexpr char kSymbolic[] = "Symbolic";
inline constexpr char kSymbolicOpen[] = "SYMB";
inline constexpr char kSymbolicClose[] = "END";
inline constexpr char kProg[] = "Program";
inline constexpr char kProgOpen[] = "<<";
inline constexpr char kProgClose[] = ">>";
inline constexpr char kMatrix[] = "Matrix";
inline constexpr char kMatrixOpen[] = "[";
inline constexpr char kMatrixClose[] = "]";
inline constexpr char kExt[] = "Ext";
inline constexpr char kExtOpen[] = "EXT";
inline constexpr char kExtClose[] = "END";
}  // namespace composite_text

using NQSList = NQSDelimited<prolog::kList, composite_text::kList, composite_text::kListOpen,
                             composite_text::kListClose>;
using NQSSymbolic = NQSDelimited<prolog::kSymbolic, composite_text::kSymbolic,
                                 composite_text::kSymbolicOpen, composite_text::kSymbolicClose>;
using NQSProg = NQSDelimited<prolog::kProg, composite_text::kProg, composite_text::kProgOpen,
                             composite_text::kProgClose>;
using NQSMatrix = NQSDelimited<prolog::kMatrix, composite_text::kMatrix,
                               composite_text::kMatrixOpen, composite_text::kMatrixClose>;
using NQSExt = NQSDelimited<prolog::kExt, composite_text::kExt, composite_text::kExtOpen,
                            composite_text::kExtClose>;

}  // namespace tavrel::statexport
