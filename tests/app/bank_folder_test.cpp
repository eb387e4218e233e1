// The packaged program's bank folder: XDG_DATA_HOME when it is absolute, else under HOME.
#include "app/logic/bank_folder.h"

#include <gtest/gtest.h>

namespace {

TEST(UserBankFolder, FollowsTheBaseDirectoryRules) {
  EXPECT_EQ(app::UserBankFolder("/data/ann", "/home/ann"), "/data/ann/examora");
  EXPECT_EQ(app::UserBankFolder("/data/ann/", "/home/ann"), "/data/ann/examora");
  EXPECT_EQ(app::UserBankFolder(nullptr, "/home/ann"), "/home/ann/.local/share/examora");
  EXPECT_EQ(app::UserBankFolder("", "/home/ann/"), "/home/ann/.local/share/examora");
  EXPECT_EQ(app::UserBankFolder("relative/data", "/home/ann"), "/home/ann/.local/share/examora")
      << "a relative XDG_DATA_HOME is ignored";
  EXPECT_EQ(app::UserBankFolder(nullptr, "/"), "/.local/share/examora");
  EXPECT_EQ(app::UserBankFolder("/home/łukasz/dane", nullptr), "/home/łukasz/dane/examora");
  EXPECT_EQ(app::UserBankFolder(nullptr, nullptr), std::nullopt);
  EXPECT_EQ(app::UserBankFolder("", "relative"), std::nullopt);
}

}  // namespace
