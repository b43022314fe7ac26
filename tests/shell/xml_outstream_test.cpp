#include <gtest/gtest.h>

#include <QFile>
#include <memory>

#include "loader_fixture.h"
#include "xml_recording_handler.h"

namespace tavrel::xmltest {
namespace {

using Log = std::vector<std::string>;

struct Releaser {
  void operator()(xml::IXMLOutStream* stream) const { stream->release(); }
};

class XmlOutStreamTest : public loadertest::LoaderTest {
 protected:
  void SetUp() override {
    LoaderTest::SetUp();
    loadServices();
    stream.reset(xml.createOutStream());
    ASSERT_NE(stream, nullptr);
  }
  void TearDown() override {
    stream.reset();
    LoaderTest::TearDown();
  }
  std::unique_ptr<xml::IXMLOutStream, Releaser> stream;
};

TEST_F(XmlOutStreamTest, WritesEscapedMarkupThatReadsBackTheSame) {
  stream->startElement(u"skin");
  stream->attribute(u"name", u"Blue \"&\" <Red>");
  stream->startElement(u"empty");
  stream->endElement();
  stream->text(u"a < b & c\x01");
  ASSERT_TRUE(stream->save(path(u"out.xml")));
  EXPECT_EQ(stream->document(),
            u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            u"<skin name=\"Blue &quot;&amp;&quot; &lt;Red&gt;\"><empty/>a &lt; b &amp; c</skin>\n");
  Log log;
  xml.parse(new RecordingHandler("root", log), path(u"out.xml"));
  EXPECT_EQ(log, (Log{"root start skin name=Blue \"&\" <Red>", "root start empty",
                      "root end empty []", "root end skin [a < b & c]", "root released"}));
}

TEST_F(XmlOutStreamTest, RefusesBadNamesAndCallsOutOfOrder) {
  stream->text(u"before the root");
  stream->startElement(u"1st");
  stream->startElement(u"root");
  stream->text(u"x");
  stream->attribute(u"late", u"1");
  stream->attribute(u"bad name", u"1");
  stream->endElement();
  stream->endElement();
  stream->startElement(u"second_root");
  EXPECT_EQ(stream->document(), u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<root>x</root>\n");
}

TEST_F(XmlOutStreamTest, SaveIntoAMissingFolderFailsAndWritesNothing) {
  stream->startElement(u"a");
  EXPECT_FALSE(stream->save(path(u"no/such/folder/out.xml")));
  EXPECT_FALSE(QFile::exists(QString::fromStdU16String(path(u"no"))));
}

}  // namespace
}  // namespace tavrel::xmltest
