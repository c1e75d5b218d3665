// A program built with an embedded language record reads it at run time.
#include "runtime/uLexivane.h"
#include "support/TempDir.h"

#include <QFile>
#include <QWidget>

#include <gtest/gtest.h>

#include <filesystem>

using namespace lx;
using RecordTest = lx::test::TempDirTest;

TEST(EmbeddedRecord, TheProgramReadsItsOwnRecord) {
    QFile res(QString::fromLatin1(kXMLAppDataResource));
    ASSERT_TRUE(res.open(QIODevice::ReadOnly));
    EXPECT_EQ(res.size(), 1024);

    TXMLAppData d;
    ASSERT_TRUE(XMLAppServer().ReadDataFromResource(d));
    EXPECT_TRUE(d.XMLAppExists);
    EXPECT_FALSE(d.ForcedUseXMLApp);
    EXPECT_EQ(d.CurrentPack, "RUS.LNG");
    EXPECT_EQ(d.PackFolder, "\\lang\\");
    EXPECT_EQ(d.UnitFileName, "/src/fmain.cpp");
    std::string unit;
    EXPECT_TRUE(XMLAppServer().XMLAppExistsInProject(unit));
    EXPECT_EQ(unit, "/src/fmain.cpp");
}

TEST_F(RecordTest, FormsWithoutAnApplicationComponentFollowTheRecord) {
    QWidget form;
    form.setObjectName("fMain");
    auto* lx = new TLXForm(&form);
    lx->SetFileName("own.lng");
    EXPECT_EQ(lx->GetManFileName(), "RUS.LNG");
    lx->SetStatus(TXMLBaseClass::csWorkAlone); // the record is not forced
    EXPECT_EQ(lx->GetManFileName(), Dir.Path() + "/own.lng");
}
