// Reading object bodies: positions, truncation, directories' back links, and input built
// to blow up.
#include <gtest/gtest.h>

#include "FolioBuilder.h"
#include "tavrel/statexport/NQSArray.h"
#include "tavrel/statexport/NQSComposite.h"
#include "tavrel/statexport/NQSDir.h"
#include "tavrel/statexport/NQSParser.h"
#include "tavrel/statexport/NQSScalars.h"

namespace tavrel::statexport {
namespace {

using testing::Nibbles;
using testing::putNibbles;

// Parses an object from nibbles and remembers where the parse stopped.
struct Parsed {
  explicit Parsed(const Nibbles& nibbles)
      : bytes(testing::packNibbles(nibbles)), stream(bytes.data(), bytes.size()) {
    ParseContext context(stream);
    object = parseObject(pos, context);
  }
  std::vector<std::uint8_t> bytes;
  NibbleStream stream;
  std::size_t pos = 0;
  NQSObjectRef object;
};

Nibbles concat(Nibbles a, const Nibbles& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(NQSParser, NothingAtTheEndOrAfterABarePrologue) {
  const Parsed empty(Nibbles{});
  EXPECT_FALSE(empty.object);
  EXPECT_EQ(empty.pos, 0u);

  // The list's only element is a prologue that ends the buffer: no object.
  Nibbles prologOnly;
  putNibbles(prologOnly, prolog::kList, 5);
  putNibbles(prologOnly, prolog::kReal, 5);
  const Parsed onlyProlog(prologOnly);
  EXPECT_EQ(nqsCast<NQSList>(onlyProlog.object)->count(), 0u);
  EXPECT_EQ(onlyProlog.pos, 10u);
}

TEST(NQSParser, FixedSizeBodiesThatDoNotFitStayZero) {
  Nibbles truncated = testing::real("7");
  truncated.resize(5 + 11);
  const Parsed parsed(truncated);
  ASSERT_NE(nqsCast<NQSReal>(parsed.object), nullptr);
  EXPECT_EQ(nqsCast<NQSReal>(parsed.object)->packed(), 0u);
  EXPECT_EQ(parsed.pos, 5u);

  const Parsed whole(testing::real("7"));
  EXPECT_EQ(whole.pos, 21u);
  EXPECT_EQ(whole.object->text(), "7");
}

TEST(NQSParser, ComplexNumbersReadBothPartsOrNeither) {
  Nibbles complex;
  putNibbles(complex, prolog::kComplex, 5);
  putNibbles(complex, testing::packedReal("2.5"), 16);
  putNibbles(complex, testing::packedReal("-1"), 16);
  const Parsed whole(complex);
  const auto* value = nqsCast<NQSComplex>(whole.object);
  EXPECT_EQ(value->realPart(), testing::packedReal("2.5"));
  EXPECT_EQ(value->imaginaryPart(), testing::packedReal("-1"));
  EXPECT_EQ(whole.object->text(), "(2.5,-1)");
  EXPECT_EQ(whole.pos, 37u);

  complex.resize(complex.size() - 2);
  const Parsed cut(complex);
  EXPECT_EQ(cut.object->text(), "(0,0)");
  EXPECT_EQ(cut.pos, 5u);
}

TEST(NQSParser, CountedBodiesOutOfRangeAreEmptyAndSkipTheLength) {
  Nibbles tooShort;
  putNibbles(tooShort, prolog::kHex, 5);
  putNibbles(tooShort, 5, 5);
  putNibbles(tooShort, 0xFFFF, 4);
  const Parsed shortBody(tooShort);
  EXPECT_EQ(nqsCast<NQSLengthObject>(shortBody.object)->bodyLength(), 0u);
  EXPECT_EQ(shortBody.pos, 10u);

  Nibbles tooLong = testing::counted(prolog::kHex, {1, 2, 3, 4});
  tooLong.resize(tooLong.size() - 2);
  const Parsed longBody(tooLong);
  EXPECT_EQ(longBody.object->text(), "Hex   \n");
  EXPECT_EQ(longBody.pos, 10u);

  const Parsed fits(testing::counted(prolog::kHex, {1, 2, 3, 4}));
  EXPECT_EQ(fits.object->text(), "Hex   1234\n");
  EXPECT_EQ(fits.pos, 14u);
}

TEST(NQSParser, NameBodiesSkipTheirLengthEvenWhenCut) {
  Nibbles cut = testing::name(prolog::kIdnt, "abcd");
  cut.resize(cut.size() - 2);
  const Parsed parsed(cut);
  EXPECT_EQ(parsed.object->text(), "''\n");
  EXPECT_EQ(parsed.pos, 5u + 2u + 8u);
}

TEST(NQSParser, UnknownProloguesAreAddressesWithoutBody) {
  Nibbles unknown;
  putNibbles(unknown, 0x12345, 5);
  putNibbles(unknown, 0x6, 1);
  const Parsed parsed(unknown);
  EXPECT_EQ(nqsCast<NQSAddress>(parsed.object)->address(), 0x12345u);
  EXPECT_EQ(parsed.object->text(), "(12345)\n");
  EXPECT_EQ(parsed.pos, 5u);
}

TEST(NQSParser, CompositesStopAtTheMarkerOrTheEnd) {
  const Nibbles closed = testing::list({testing::bint(1), testing::bint(2)});
  const Parsed whole(concat(closed, testing::bint(3)));
  EXPECT_EQ(nqsCast<NQSList>(whole.object)->count(), 2u);
  EXPECT_EQ(whole.pos, closed.size());

  Nibbles open = closed;
  open.resize(closed.size() - 5);
  const Parsed unclosed(open);
  EXPECT_EQ(nqsCast<NQSList>(unclosed.object)->count(), 2u);
  EXPECT_EQ(unclosed.object->text(), "{ <00001>, <00002>}");
}

TEST(NQSParser, ArraysReadDimensionsAndElementBodies) {
  const Nibbles matrix =
      testing::array(prolog::kReal, {2, 3},
                     {testing::realBody("1"), testing::realBody("2"), testing::realBody("3"),
                      testing::realBody("4"), testing::realBody("5"), testing::realBody("6")});
  const Parsed parsed(matrix);
  const auto* array = nqsCast<NQSArray>(parsed.object);
  ASSERT_NE(array, nullptr);
  EXPECT_EQ(array->dimensions(), (std::vector<std::uint32_t>{2, 3}));
  EXPECT_EQ(array->elementCount(), 6u);
  EXPECT_EQ(array->elementProlog(), prolog::kReal);
  EXPECT_EQ(parsed.object->text(), "[ 1, 2, 3, 4, 5, 6 ]");
  EXPECT_EQ(parsed.pos, matrix.size());
}

TEST(NQSParser, ArrayWhoseDimensionsDoNotFitHasNoElements) {
  // The counted length stops before the dimensions, and the buffer ends inside them.
  Nibbles cut;
  putNibbles(cut, prolog::kArray, 5);
  putNibbles(cut, 5 + 5 + 5, 5);
  putNibbles(cut, prolog::kReal, 5);
  putNibbles(cut, 3, 5);
  putNibbles(cut, 1, 5);
  const Parsed parsed(cut);
  EXPECT_EQ(parsed.object->text(), "[  ]");
  EXPECT_EQ(nqsCast<NQSArray>(parsed.object)->elementCount(), 0u);
  EXPECT_EQ(parsed.pos, 20u);

  // A counted body that runs past the end leaves no body at all.
  Nibbles longer = testing::realColumn({"1", "2"});
  longer.resize(longer.size() - 2);
  EXPECT_EQ(Parsed(longer).object->text(), "[ ]");
}

TEST(NQSParser, ArrayElementsOfUnknownClassConsumeNothing) {
  const Parsed parsed(testing::array(0x12345, {3}, {}));
  EXPECT_EQ(parsed.object->text(), "[ (12345)\n, (12345)\n, (12345)\n ]");
}

TEST(NQSParser, HugeDimensionsOverATinyBodyStayBounded) {
  const Parsed parsed(testing::array(prolog::kReal, {0xFFFFF, 0xFFFFF}, {testing::realBody("1")}));
  const auto* array = nqsCast<NQSArray>(parsed.object);
  ASSERT_NE(array, nullptr);
  EXPECT_GT(array->elementCount(), 0u);
  EXPECT_LT(array->elementCount(), 10000u);
}

TEST(NQSParser, DirectoryChainRunsFromTheLastVariableBack) {
  const Nibbles dir = testing::directory(
      {{"A", testing::real("1")}, {"B", testing::real("2")}, {"C", testing::real("3")}});
  const Parsed parsed(concat(dir, testing::bint(9)));
  const auto* root = nqsCast<NQSDir>(parsed.object);
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->variableCount(), 3u);
  EXPECT_EQ(root->name().name(), "C");
  EXPECT_EQ(root->node(1)->name().name(), "B");
  EXPECT_EQ(root->node(2)->name().name(), "A");
  EXPECT_EQ(root->firstInMemory()->value()->text(), "1");
  EXPECT_EQ(root->node(3), nullptr);
  EXPECT_EQ(parsed.pos, dir.size());
}

TEST(NQSParser, DirectoryWithAttachedLibrariesSkipsTheirTable) {
  const Nibbles dir = testing::directory({{"A", testing::bint(1)}, {"B", testing::bint(2)}}, 2);
  const Parsed parsed(dir);
  const auto* root = nqsCast<NQSDir>(parsed.object);
  EXPECT_EQ(root->variableCount(), 2u);
  EXPECT_EQ(root->value()->text(), "<00002>");
  EXPECT_EQ(parsed.pos, dir.size());

  const Parsed emptyWithLibraries(testing::directory({}, 1));
  EXPECT_EQ(nqsCast<NQSDir>(emptyWithLibraries.object)->variableCount(), 0u);
  EXPECT_EQ(emptyWithLibraries.pos, 5u + 3u + 13u + 5u);
}

TEST(NQSParser, EmptyDirectoryOccupiesEightNibbles) {
  const Parsed parsed(concat(testing::directory({}), testing::bint(1)));
  EXPECT_EQ(nqsCast<NQSDir>(parsed.object)->variableCount(), 0u);
  EXPECT_EQ(parsed.pos, 5u + 8u);
}

TEST(NQSParser, BackLinksPointingOutsideTheBufferEndTheWalk) {
  Nibbles dir = testing::directory({{"A", testing::bint(1)}, {"B", testing::bint(2)}});
  // Variable B's back link sits right before its name; make it reach before the buffer.
  const std::size_t linkOfB = 5 + 3 + 5 + (5 + 2 + 2 + 2 + 10);
  for (unsigned i = 0; i < 5; ++i) {
    dir[linkOfB + i] = 0xF;
  }
  const Parsed parsed(dir);
  const auto* root = nqsCast<NQSDir>(parsed.object);
  EXPECT_EQ(root->variableCount(), 1u);
  EXPECT_EQ(root->name().name(), "B");
}

TEST(NQSParser, NamelessVariableValueFollowsItsLength) {
  // A nameless variable has its value two nibbles after the length field.
  Nibbles body;
  putNibbles(body, 0, 3);
  putNibbles(body, 10, 5);
  putNibbles(body, 0, 5);
  putNibbles(body, 0, 2);
  const Nibbles value = testing::bint(0x42);
  body.insert(body.end(), value.begin(), value.end());
  Nibbles dir;
  putNibbles(dir, prolog::kDir, 5);
  dir.insert(dir.end(), body.begin(), body.end());
  const Parsed parsed(dir);
  const auto* root = nqsCast<NQSDir>(parsed.object);
  EXPECT_EQ(root->variableCount(), 1u);
  EXPECT_EQ(root->value()->text(), "<00042>");
}

TEST(NQSParser, DeepNestingEndsTheParseInsteadOfTheStack) {
  Nibbles nested;
  for (int i = 0; i < 200000; ++i) {
    putNibbles(nested, prolog::kList, 5);
  }
  const Parsed parsed(nested);
  EXPECT_NE(nqsCast<NQSList>(parsed.object), nullptr);
}

TEST(NQSParser, LongChainsAreReadAndReleased) {
  std::vector<Nibbles> elements(100000, testing::character('x'));
  const Parsed parsed(testing::list(elements));
  EXPECT_EQ(nqsCast<NQSList>(parsed.object)->count(), 100000u);
}

}  // namespace
}  // namespace tavrel::statexport
