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

TEST(ConnectionString, engineIsUsable) {
    EXPECT_NO_THROW(CreateDaoEngine());
}
