#include <gtest/gtest.h>

#include "services/FolderCleaner.h"

namespace services {
namespace {

// What the cleaner does to real folders, links among them, is checked under Wine by the cache cleaner's
// tests; here the rules of its passes.
TEST(CachePassTest, CookiesOnlyInTheSecondPass) {
    const uint32_t normal = 0x00000001;
    const uint32_t cookie = kCookieCacheEntry | 0x00000001;
    EXPECT_TRUE(IsDeletedInPass(0, normal));
    EXPECT_FALSE(IsDeletedInPass(0, cookie));
    EXPECT_FALSE(IsDeletedInPass(1, normal));
    EXPECT_TRUE(IsDeletedInPass(1, cookie));
    EXPECT_FALSE(IsDeletedInPass(2, cookie));
    EXPECT_TRUE(IsKeptInCacheFolder(L"DeskTop.Ini"));
    EXPECT_FALSE(IsKeptInCacheFolder(L"desktop.ini.bak"));
}

}  // namespace
}  // namespace services
