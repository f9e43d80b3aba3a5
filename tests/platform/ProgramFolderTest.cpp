#include <gtest/gtest.h>

#include "platform/ProgramFolder.h"

using ztgl::WithTrailingSeparator;

TEST(ProgramFolder, AppendsExactlyOneSeparator) {
    EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/opt/ztgl")), QStringLiteral("/opt/ztgl/"));
    EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/opt/ztgl/")), QStringLiteral("/opt/ztgl/"));
    // A root folder already ends in the separator.
    EXPECT_EQ(WithTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_TRUE(ztgl::ProgramFolder().endsWith(QLatin1Char('/')));
}
