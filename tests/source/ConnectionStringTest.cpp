#include "source/ConnectionString.h"

#include <gtest/gtest.h>

using namespace tabulon;

TEST(ConnectionString, newerFormatIsRecognisedInAnyLetterCase) {
    EXPECT_TRUE(IsAccdbFile("C:\\data\\shop.accdb"));
    EXPECT_TRUE(IsAccdbFile("/data/SHOP.ACCDB"));
    EXPECT_TRUE(IsAccdbFile("shop.Accde"));
    EXPECT_FALSE(IsAccdbFile("shop.mdb"));
    EXPECT_FALSE(IsAccdbFile("shop.mde"));
    EXPECT_FALSE(IsAccdbFile("shop.accdb.bak"));
    EXPECT_FALSE(IsAccdbFile(""));
}

TEST(ConnectionString, unsecuredFiles) {
    EXPECT_EQ(GetAccessConnectionString("C:\\data\\shop.mdb", "", "", ""),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=C:\\data\\shop.mdb;");
    EXPECT_EQ(GetAccessConnectionString("C:\\data\\shop.accdb", "", "", ""),
              "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=C:\\data\\shop.accdb;Persist Security Info=False;");
}

TEST(ConnectionString, passwords) {
    EXPECT_EQ(GetAccessConnectionString("a.mdb", "", "", "pw"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a.mdb;Jet OLEDB:Database Password=pw;");
    EXPECT_EQ(GetAccessConnectionString("a.accdb", "", "", "pw"),
              "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=a.accdb;Jet OLEDB:Database Password=pw;");
}

TEST(ConnectionString, workgroupOnlyForTheOlderFormat) {
    EXPECT_EQ(GetAccessConnectionString("a.mdb", "s.mdw", "admin", ""),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=a.mdb;Jet OLEDB:System database=s.mdw;User Id=admin;"
              "Password=;");
    EXPECT_EQ(GetAccessConnectionString("a.accdb", "s.mdw", "admin", "pw"),
              "Provider=Microsoft.ACE.OLEDB.12.0;Data Source=a.accdb;Jet OLEDB:Database Password=pw;");
}

TEST(ConnectionString, engineIsUsable) {
    EXPECT_NO_THROW(CreateDaoEngine());
}
