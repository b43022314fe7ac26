#include <gtest/gtest.h>

#include <fstream>

#include "loader_fixture.h"
#include "tavrel/xml/AttributeList.h"
#include "xml_recording_handler.h"

namespace tavrel::xmltest {
namespace {

using Log = std::vector<std::string>;

class XmlParserTest : public loadertest::LoaderTest {
 protected:
  void SetUp() override {
    LoaderTest::SetUp();
    loadServices();
  }
  // Parses text written to a file; gives what the handlers saw.
  Log parse(const std::string& text, std::map<std::string, std::string> children = {}) {
    writeFile(u"doc.xml", text);
    Log log;
    xml.parse(new RecordingHandler("root", log, std::move(children)), path(u"doc.xml"));
    return log;
  }
  // The message of the refusal of a file holding text, with the log left by the handler.
  std::u16string refusal(const std::string& text, Log& log) {
    writeFile(u"bad.xml", text);
    try {
      xml.parse(new RecordingHandler("root", log, {{"a", "child"}}), path(u"bad.xml"));
    } catch (const xml::XMLParseException& failure) {
      return failure.handler().message;
    }
    ADD_FAILURE() << "no exception";
    return {};
  }
};

TEST_F(XmlParserTest, ReportsElementsDepthFirstWithTheirTextAtTheEnd) {
  EXPECT_EQ(parse("<a x=\"1\">one<b>two</b><c/>three</a>"),
            (Log{"root start a x=1", "root start b", "root end b [two]", "root start c",
                 "root end c []", "root end a [onethree]", "root released"}));
}

TEST_F(XmlParserTest, ChildHandlerGetsTheContentAndIsReleasedBeforeTheElementEnds) {
  const Log log = parse("<top><a><b><inner/></b></a><after/></top>", {{"a", "child"}});
  EXPECT_EQ(log,
            (Log{"root start top", "root start a", "child start b", "child start inner",
                 "child end inner []", "child end b []", "child released", "root end a []",
                 "root start after", "root end after []", "root end top []", "root released"}));
}

TEST_F(XmlParserTest, NestedChildHandlersAreReleasedInnermostFirst) {
  writeFile(u"doc.xml", "<a><b><c>text</c></b></a>");
  Log log;
  // The root names "outer" for a; "outer" names "inner" for b.
  struct Outer final : xml::IXMLSAXContentHandler {
    Log& log;
    explicit Outer(Log& target) : log(target) {}
    void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                      const xml::IXMLAttributeList&) override {
      log.push_back("outer start " + toUtf8(name));
      context.setChildHandler(new RecordingHandler("inner", log));
    }
    void endElement(const std::u16string& name, const std::u16string&) override {
      log.push_back("outer end " + toUtf8(name));
    }
    void destroy() override { log.push_back("outer released"); }
  };
  struct Root final : xml::IXMLSAXContentHandler {
    Log& log;
    explicit Root(Log& target) : log(target) {}
    void startElement(xml::IXMLParserContext& context, const std::u16string&,
                      const xml::IXMLAttributeList&) override {
      context.setChildHandler(new Outer(log));
    }
    void endElement(const std::u16string&, const std::u16string&) override {
      log.push_back("root end");
    }
    void destroy() override { log.push_back("root released"); }
  };
  xml.parse(new Root(log), path(u"doc.xml"));
  EXPECT_EQ(log, (Log{"outer start b", "inner start c", "inner end c [text]", "inner released",
                      "outer end b", "outer released", "root end", "root released"}));
}

TEST_F(XmlParserTest, AttributesAreReadByNameWithEntitiesResolved) {
  writeFile(u"doc.xml", "<a name=\"Blue &amp; Red\" x=\"-12\" y=\"  7 \" z=\"7px\"/>");
  struct Reader final : xml::IXMLSAXContentHandler {
    std::u16string* name;
    std::vector<std::int32_t>* numbers;
    bool* hasMissing;
    void startElement(xml::IXMLParserContext&, const std::u16string&,
                      const xml::IXMLAttributeList& attributes) override {
      *name = attributes.value(u"name");
      *hasMissing = attributes.contains(u"missing") || !attributes.value(u"missing").empty();
      for (const char16_t* key : {u"x", u"y", u"z", u"missing", u"NAME"}) {
        numbers->push_back(xml::decimalAttribute(attributes, key));
      }
    }
    void endElement(const std::u16string&, const std::u16string&) override {}
  };
  std::u16string name;
  std::vector<std::int32_t> numbers;
  bool hasMissing = true;
  auto* reader = new Reader;
  reader->name = &name;
  reader->numbers = &numbers;
  reader->hasMissing = &hasMissing;
  xml.parse(reader, path(u"doc.xml"));
  EXPECT_EQ(name, u"Blue & Red");
  EXPECT_FALSE(hasMissing);
  EXPECT_EQ(numbers, (std::vector<std::int32_t>{-12, 7, 0, 0, 0}));
}

TEST_F(XmlParserTest, TextContentKeepsBlanksAndResolvesEntitiesAndCdata) {
  EXPECT_EQ(parse("<a> x &lt;&#65; <!-- note --><![CDATA[<raw>]]></a>"),
            (Log{"root start a", "root end a [ x <A <raw>]", "root released"}));
}

TEST_F(XmlParserTest, NameWithBackslashesIsReadAsAPath) {
  writeFile(u"doc.xml", "<a/>");
  std::u16string name = path(u"doc.xml");
  name.replace(name.rfind(u'/'), 1, u"\\");
  Log log;
  xml.parse(new RecordingHandler("root", log), name);
  EXPECT_EQ(log, (Log{"root start a", "root end a []", "root released"}));
}

TEST_F(XmlParserTest, MalformedFileIsRefusedWithFileLineAndColumnAndNothingDelivered) {
  Log log;
  const std::u16string message = refusal("<top>\n  <a>\n    <b></c>\n  </a>\n</top>\n", log);
  EXPECT_NE(message.find(path(u"bad.xml")), std::u16string::npos) << toUtf8(message);
  EXPECT_NE(message.find(u"line 3, column"), std::u16string::npos) << toUtf8(message);
  EXPECT_EQ(log, Log{"root released"});
}

TEST_F(XmlParserTest, TruncatedAndEmptyFilesAreRefused) {
  for (const char* text :
       {"<top><a x=\"1\"><b>", "", "<top></top><second/>", "<a x=\"1\" x=\"2\"/>"}) {
    Log log;
    const std::u16string message = refusal(text, log);
    EXPECT_NE(message.find(u"line "), std::u16string::npos) << text;
    EXPECT_EQ(log, Log{"root released"}) << text;
  }
}

TEST_F(XmlParserTest, MissingFileAndOversizedFileAreRefusedWithTheirName) {
  Log log;
  try {
    xml.parse(new RecordingHandler("root", log), path(u"absent.xml"));
    ADD_FAILURE() << "no exception";
  } catch (const xml::XMLParseException& failure) {
    EXPECT_EQ(failure.code(), 6000);
    EXPECT_NE(failure.handler().message.find(u"absent.xml"), std::u16string::npos);
  }
  EXPECT_EQ(log, Log{"root released"});

  {
    std::ofstream big(toUtf8(path(u"big.xml")), std::ios::binary);
    big << "<a>";
    big << std::string(xml::kMaxXMLFileBytes, 'x');
    big << "</a>";
  }
  log.clear();
  try {
    xml.parse(new RecordingHandler("root", log), path(u"big.xml"));
    ADD_FAILURE() << "no exception";
  } catch (const xml::XMLParseException& failure) {
    EXPECT_NE(failure.handler().message.find(u"larger than"), std::u16string::npos);
  }
  EXPECT_EQ(log, Log{"root released"});
}

TEST_F(XmlParserTest, ExceptionOfAHandlerPassesOnAfterEveryHandlerIsReleased) {
  writeFile(u"doc.xml", "<top><a><b/></a></top>");
  Log log;
  struct Stopper final : xml::IXMLSAXContentHandler {
    Log& log;
    explicit Stopper(Log& target) : log(target) {}
    void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                      const xml::IXMLAttributeList&) override {
      context.setChildHandler(new RecordingHandler("child " + toUtf8(name), log));
      throw excpt::SkinNotInstalledException(u"stopped");
    }
    void endElement(const std::u16string&, const std::u16string&) override {}
    void destroy() override { log.push_back("stopper released"); }
  };
  // The root hands a Stopper for "a"; the Stopper names a child for b and then throws.
  struct Root final : xml::IXMLSAXContentHandler {
    Log& log;
    explicit Root(Log& target) : log(target) {}
    void startElement(xml::IXMLParserContext& context, const std::u16string& name,
                      const xml::IXMLAttributeList&) override {
      if (name == u"a") {
        context.setChildHandler(new Stopper(log));
      }
    }
    void endElement(const std::u16string&, const std::u16string&) override {}
    void destroy() override { log.push_back("root released"); }
  };
  EXPECT_THROW(xml.parse(new Root(log), path(u"doc.xml")), excpt::SkinNotInstalledException);
  // Innermost first: the child just named for b, the stopper, the root.
  EXPECT_EQ(log, (Log{"child b released", "stopper released", "root released"}));
}

TEST(XmlDecimalTest, AcceptsSignedDecimalsOnlyWithinThe32BitRange) {
  EXPECT_EQ(xml::parseDecimal(u"2147483647"), 2147483647);
  EXPECT_EQ(xml::parseDecimal(u"-2147483648"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(xml::parseDecimal(u"\n 255\t"), 255);
  EXPECT_EQ(xml::parseDecimal(u"+3"), 3);
  for (const char16_t* bad : {u"2147483648", u"", u"-", u"0x10", u"1 2", u"99999999999"}) {
    EXPECT_FALSE(xml::parseDecimal(bad).has_value()) << toUtf8(bad);
  }
}

}  // namespace
}  // namespace tavrel::xmltest
