// SPDX-License-Identifier: GPL-2.0-or-later
// A controller lost and found again, as both platforms' controller layers
// handle it: on pin interfaces that a test plugs in and out.
#include "platform/shared/reconnecting_iowkit.h"

#include <gtest/gtest.h>

#include "fakes.h"

namespace {

using platform::Failure;
using platform::PinInterfaces;

constexpr int kGone = 19;
constexpr int kStalled = 32;

// Pin interfaces by name; at most one is plugged in. A link stands for the
// interface that was plugged in when it was opened, and fails as gone once
// that one has been pulled.
class FakePins final : public PinInterfaces {
 public:
  std::optional<Opened> OpenFirst(bool report) override {
    ++looks;
    if (plugged.empty()) return std::nullopt;
    if (refuse) {
      if (report) refused_said = true;
      return std::nullopt;
    }
    links[next_link] = plugged;
    const Opened opened{next_link++, plugged};
    if (gone_once_opened) plugged.clear();
    return opened;
  }
  platform::Result<std::uint32_t> Write(std::uintptr_t link, const std::uint8_t* report,
                                        std::uint32_t length) override {
    const std::string& path = links.at(link);
    if (path != plugged) return Failure{kGone, "gone"};
    if (stall) return Failure{kStalled, "stalled"};
    written.emplace_back(path, report[1]);
    return length;
  }
  void Close(std::uintptr_t link) override { links.erase(link); }
  [[nodiscard]] bool MeansGone(const Failure& failure) const override {
    return failure.code == kGone;
  }

  std::string plugged;
  bool refuse = false;  // an interface there that cannot be opened (yet)
  bool refused_said = false;
  bool stall = false;
  bool gone_once_opened = false;  // listed, opened, and gone at once
  int looks = 0;
  std::map<std::uintptr_t, std::string> links;
  std::uintptr_t next_link = 7;
  std::vector<std::pair<std::string, std::uint8_t>> written;
};

bool Send(platform::Iowkit& iowkit, platform::IowkitHandle handle, std::uint8_t port0) {
  const std::uint8_t report[3] = {0x00, port0, 0x41};
  return iowkit.IowKitWrite(handle, platform::kPinPipe, report, 3) == 3U;
}

TEST(ReconnectingIowkit, SaysALostControllerOnceLooksOnceASecondAndSaysItIsBack) {
  FakePins pins;
  fakes::FakeClock clock;
  fakes::Said errors;
  platform::ReconnectingIowkit iowkit(pins, clock, errors.reporter);
  EXPECT_EQ(iowkit.IowKitOpenDevice(), 0U);
  pins.plugged = "pins-a";
  const auto handle = iowkit.IowKitOpenDevice();
  ASSERT_NE(handle, 0U);
  ASSERT_TRUE(Send(iowkit, handle, 0xFF));

  // A failure that is not a lost controller keeps the interface.
  pins.stall = true;
  EXPECT_FALSE(Send(iowkit, handle, 0xFB));
  pins.stall = false;
  EXPECT_TRUE(Send(iowkit, handle, 0xFF));
  EXPECT_EQ(pins.looks, 2);

  // Pulled: said once, let go, nothing sent and no look within a second.
  pins.plugged.clear();
  EXPECT_FALSE(Send(iowkit, handle, 0xDF));
  EXPECT_TRUE(pins.links.empty());
  clock.Advance(0.99);
  pins.plugged = "pins-b";
  for (int i = 0; i < 10; ++i) EXPECT_FALSE(Send(iowkit, handle, 0xDB));
  EXPECT_EQ(pins.looks, 2);
  // A second later it is there but cannot be opened yet: quietly, once.
  pins.refuse = true;
  clock.Advance(0.01);
  EXPECT_FALSE(Send(iowkit, handle, 0xDB));
  EXPECT_FALSE(Send(iowkit, handle, 0xDB));
  EXPECT_EQ(pins.looks, 3);
  EXPECT_FALSE(pins.refused_said);

  // Back under another name: this write goes there, said once.
  pins.refuse = false;
  clock.Advance(1);
  EXPECT_TRUE(Send(iowkit, handle, 0xBF));
  EXPECT_TRUE(Send(iowkit, handle, 0xBB));
  EXPECT_EQ(errors.str(),
            "statusanzeige: lost the IO-Warrior 24 at pins-a: gone\n"
            "statusanzeige: the IO-Warrior 24 is back at pins-b\n");
  EXPECT_EQ(pins.written.back(), std::make_pair(std::string("pins-b"), std::uint8_t{0xBB}));
  EXPECT_EQ(pins.written.size(), 4U);

  // Closed while gone: nothing left to close, and it does not come back.
  pins.plugged.clear();
  EXPECT_FALSE(Send(iowkit, handle, 0xFF));
  iowkit.IowKitCloseDevice(handle);
  pins.plugged = "pins-c";
  clock.Advance(5);
  EXPECT_FALSE(Send(iowkit, handle, 0xFF));
  EXPECT_TRUE(pins.links.empty());
}

// Listed, but gone before a report went through: as Wine lists an unplugged
// controller until its HID bus has let go of it, or one plugged in again for
// a moment only when winebus watches /dev itself. Still the same loss.
TEST(ReconnectingIowkit, AControllerFoundAndGoneAgainAtOnceIsStillTheSameLoss) {
  FakePins pins;
  fakes::FakeClock clock;
  fakes::Said errors;
  platform::ReconnectingIowkit iowkit(pins, clock, errors.reporter);
  pins.plugged = "pins-a";
  const auto handle = iowkit.IowKitOpenDevice();
  pins.plugged.clear();
  EXPECT_FALSE(Send(iowkit, handle, 0xFF));

  pins.plugged = "pins-b";
  pins.gone_once_opened = true;
  clock.Advance(1);
  EXPECT_FALSE(Send(iowkit, handle, 0xFB));
  EXPECT_TRUE(pins.links.empty()) << "let go, not kept";
  pins.gone_once_opened = false;
  pins.plugged = "pins-c";
  clock.Advance(1);
  EXPECT_TRUE(Send(iowkit, handle, 0xDF));
  EXPECT_EQ(errors.str(),
            "statusanzeige: lost the IO-Warrior 24 at pins-a: gone\n"
            "statusanzeige: the IO-Warrior 24 is back at pins-c\n");
}

}  // namespace
