// The object classes: type codes and names, texts, copies and shared ownership.
#include <gtest/gtest.h>

#include <sstream>

#include "FolioBuilder.h"
#include "tavrel/statexport/NQSArray.h"
#include "tavrel/statexport/NQSComposite.h"
#include "tavrel/statexport/NQSDir.h"
#include "tavrel/statexport/NQSParser.h"
#include "tavrel/statexport/NQSScalars.h"

namespace tavrel::statexport {
namespace {

using testing::Nibbles;

NQSObjectRef parseNibbles(const Nibbles& nibbles) {
  const std::vector<std::uint8_t> bytes = testing::packNibbles(nibbles);
  return parseBareObject(bytes.data(), bytes.size());
}

std::string textOf(const Nibbles& nibbles) {
  const NQSObjectRef object = parseNibbles(nibbles);
  return object ? object->text() : "<none>";
}

TEST(NQSObjects, EveryPrologMakesItsClassWithItsName) {
  const std::pair<std::uint32_t, const char*> table[] = {
      {0x02614, "Integer"},
      {0x02686, "Matrix"},
      {0x026AC, "Flash Pointer"},
      {0x026D5, "Folio"},
      {0x026FE, "Mini Font"},
      {0x02911, "Binary Integer"},
      {0x02933, "Real Number"},
      {0x02977, "Complex Number"},
      {0x029BF, "Character"},
      {0x029E8, "Array"},
      {0x02A0A, "Linked Array"},
      {0x02A2C, "String"},
      {0x02A4E, "Hex"},
      {0x02A74, "List"},
      {0x02A96, "Directory"},
      {0x02AB8, "Symbolic"},
      {0x02ADA, "Ext"},
      {0x02B1E, "Graphic Object"},
      {0x02B40, "Library"},
      {0x02B62, "Backup Object"},
      {0x02B88, "Extended Object 0"},
      {0x02BAA, "Access Pointer"},
      {0x02BCC, "Font"},
      {0x02BEE, "Equation Writer Object"},
      {0x02C10, "Extended Object 4"},
      {0x02D9D, "Program"},
      {0x02DCC, "Code Object"},
      {0x02E48, "Name"},
      {0x02E6D, "Local Name"},
      {0x02E92, "Library Name"},
  };
  for (const auto& [code, name] : table) {
    const NQSObjectRef object = createObject(code);
    EXPECT_EQ(object->prolog(), code);
    EXPECT_STREQ(object->typeName(), name);
    EXPECT_EQ(object->clone()->prolog(), code);
  }
  const NQSObjectRef unknown = createObject(0x0312B);
  EXPECT_NE(nqsCast<NQSAddress>(unknown), nullptr);
  EXPECT_EQ(unknown->prolog(), 0x0312Bu);
  EXPECT_STREQ(unknown->typeName(), "Unknown Object");
  EXPECT_EQ(CNQSArrayBody().prolog(), 1u);
  EXPECT_STREQ(CNQSArrayBody().typeName(), "Array Body");
}

TEST(NQSObjects, FixedSizeTexts) {
  EXPECT_EQ(NQSAddress(0xABCD).text(), "(0ABCD)\n");
  EXPECT_EQ(NQSBint(0x2A).text(), "<0002A>");
  EXPECT_EQ(NQSXlib(0x130F1).text(), "XLIB 0130F1");
  EXPECT_EQ(NQSChar('x').text(), "'x'");
  EXPECT_EQ(textOf({0xA, 0xA, 0xB, 0x2, 0x0, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
            "Access Pointer 0123456789");
  EXPECT_EQ(textOf({0xC, 0xA, 0x6, 0x2, 0x0, 0xF, 1, 2, 3, 4, 5, 6}), "Flash Pointer F123456");
  EXPECT_EQ(NQSComplex(testing::packedReal("1.5"), testing::packedReal("-2")).text(), "(1.5,-2)");
  std::ostringstream debug;
  NQSAddress(0x3).debugPrint(debug);
  EXPECT_EQ(debug.str(), "(00003)\n");
}

TEST(NQSObjects, RealTextsUseTheStandardNumberForm) {
  const std::pair<const char*, const char*> cases[] = {
      {"12345.6", "12,345.6"},
      {"0.00123", "0.00123"},
      {"1.5E-7", "1.5E-7"},
      {"12345678901", "1.234567890E10"},
      {"3.14159265359", "3.141592653"},
      {"0", "0"},
      {"-1000", "-1,000"},
      {"100", "100"},
  };
  for (const auto& [value, text] : cases) {
    EXPECT_EQ(NQSReal(testing::packedReal(value)).text(), text) << value;
  }
  // Exponent nibbles 999 mean -1.
  EXPECT_EQ(NQSReal(0x0500000000000999ULL).text(), "0.5");
}

TEST(NQSObjects, CountedAndNameTexts) {
  EXPECT_EQ(textOf(testing::string("hi")), "\"hi\"\n");
  EXPECT_EQ(textOf(testing::name(prolog::kIdnt, "abc")), "'abc'\n");
  EXPECT_EQ(textOf(testing::name(prolog::kLam, "x")), "'x'\n");
  EXPECT_EQ(textOf(testing::counted(prolog::kHex, {0xA, 0xB, 0xC})), "Hex   ABC\n");
  EXPECT_EQ(textOf(testing::counted(prolog::kFolio, {0x1})), "Folio   1\n");
}

TEST(NQSObjects, CompositeAndArrayTexts) {
  EXPECT_EQ(textOf(testing::list({testing::real("1"), testing::bint(2)})), "{ 1, <00002>}");
  EXPECT_EQ(textOf(testing::composite(prolog::kSymbolic, {})), "SYMB END");
  EXPECT_EQ(textOf(testing::composite(prolog::kProg, {testing::character('a')})), "<< 'a'>>");
  EXPECT_EQ(textOf(testing::composite(prolog::kMatrix, {testing::real("2")})), "[ 2]");
  EXPECT_EQ(textOf(testing::composite(prolog::kExt, {})), "EXT END");
  EXPECT_EQ(textOf(testing::realColumn({"1", "-2.5"})), "[ 1, -2.5 ]");
  // A length below 6 leaves the array without a body.
  EXPECT_EQ(textOf({0x8, 0xE, 0x9, 0x2, 0x0, 0x5, 0, 0, 0, 0}), "[ ]");
}

TEST(NQSObjects, DirectoryTextNumbersVariablesFromTheCount) {
  const Nibbles dir = testing::directory({{"A", testing::real("1")}, {"BC", testing::bint(7)}});
  EXPECT_EQ(textOf(dir), "Dir\n\tvar #2 'BC'\n<00007>\tvar #1 'A'\n1\nEnd");
  EXPECT_EQ(textOf(testing::directory({})), "Dir\n\nEnd");
}

TEST(NQSObjects, ClonesAreDeepExceptDirectoryValues) {
  const NQSObjectRef list = parseNibbles(testing::list({testing::real("1"), testing::string("s")}));
  const NQSObjectRef listCopy = list->clone();
  const auto* original = nqsCast<NQSList>(list);
  const auto* copy = nqsCast<NQSList>(listCopy);
  ASSERT_NE(copy, nullptr);
  EXPECT_EQ(copy->count(), 2u);
  EXPECT_NE(copy->front(), original->front());
  EXPECT_EQ(listCopy->text(), list->text());

  const NQSObjectRef dir = parseNibbles(testing::directory({{"A", testing::real("1")}}));
  const NQSObjectRef dirCopy = dir->clone();
  const auto* dirClone = nqsCast<NQSDir>(dirCopy);
  EXPECT_EQ(dirClone->value().get(), nqsCast<NQSDir>(dir)->value().get());
  EXPECT_EQ(dirClone->value()->refCount(), 2u);
  EXPECT_EQ(dirClone->name().name(), "A");
  EXPECT_EQ(dirCopy->text(), dir->text());

  const NQSObjectRef array = parseNibbles(testing::realColumn({"4", "5"}));
  const NQSObjectRef arrayCopy = array->clone();
  EXPECT_EQ(arrayCopy->text(), "[ 4, 5 ]");
  EXPECT_EQ(nqsCast<NQSArray>(arrayCopy)->body(), nqsCast<NQSArray>(array)->body());
  EXPECT_NE(nqsCast<NQSArray>(arrayCopy)->elements().at(0).get(),
            nqsCast<NQSArray>(array)->elements().at(0).get());
}

class Tracked final : public NQSObject {
 public:
  explicit Tracked(bool& destroyed) : destroyed_(destroyed) {}
  ~Tracked() override { destroyed_ = true; }
  std::uint32_t prolog() const override { return 0; }
  NQSRef<NQSObject> clone() const override { return nullptr; }
  void parse(std::size_t&, ParseContext&) override {}
  void toText(std::string&) const override {}

 private:
  bool& destroyed_;
};

// Lets a holder go out of sight of the optimiser, which cannot tell that the count is 2
// there and would warn about the object being used after a delete.
[[gnu::noinline]] void letGo(NQSObjectRef holder) {
  holder.reset();
}

TEST(NQSObjects, TheLastHolderDeletes) {
  bool destroyed = false;
  NQSObjectRef first(new Tracked(destroyed));
  EXPECT_EQ(first->refCount(), 1u);
  NQSObjectRef second = first;
  EXPECT_EQ(first->refCount(), 2u);
  letGo(std::move(second));
  EXPECT_EQ(first->refCount(), 1u);
  EXPECT_FALSE(destroyed);
  first.reset();
  EXPECT_TRUE(destroyed);
}

TEST(NQSObjects, ArrayBodyGrowsByItsStep) {
  CNQSArrayBody automatic;
  automatic.setAt(0, makeNQS<NQSBint>(1));
  EXPECT_EQ(automatic.capacity(), 4u);
  automatic.setAt(9, makeNQS<NQSBint>(2));
  EXPECT_EQ(automatic.size(), 10u);
  EXPECT_EQ(automatic.capacity(), 10u);
  EXPECT_FALSE(automatic.at(5));
  EXPECT_EQ(automatic.text(), "<00001>, , , , , , , , , <00002>");

  CNQSArrayBody stepped(100);
  stepped.setAt(0, nullptr);
  EXPECT_EQ(stepped.capacity(), 100u);
}

}  // namespace
}  // namespace tavrel::statexport
