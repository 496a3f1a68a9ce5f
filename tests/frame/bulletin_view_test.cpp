#include <gtest/gtest.h>

#include <sstream>

#include "frame/current_follow.h"

namespace frame {
namespace {

TEST(BulletinView, ReadingsFollowOneAnotherAndAGoneOutputEndsTheView) {
  std::ostringstream out;
  int ends = 0;
  BulletinView view(
      out, /*redraw=*/false, [](const stationlink::SensorImage&) { return std::string("r\n"); },
      [&ends] { ++ends; });
  view.refresh();
  view.refresh();
  EXPECT_EQ(out.str(), "r\n\nr\n");
  EXPECT_EQ(ends, 0);

  out.setstate(std::ios::badbit);  // the reader of the pipe went away
  view.refresh();
  view.refresh();
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(view.outputGone());
  EXPECT_FALSE(view.isClosed());
}

}  // namespace
}  // namespace frame
