// SPDX-License-Identifier: GPL-2.0-or-later
#include "display/display_port.h"

#include <gtest/gtest.h>

#include "emulator/display_model.h"
#include "fakes.h"

namespace {

using fakes::Bytes;

struct PortFixture : ::testing::Test {
  PortFixture() {
    port.DeviceHandle = iowkit.open_result;
    iowkit.model = &model;
  }
  fakes::RecordingIowkit iowkit;
  emulator::DisplayModel model;
  display::DisplayPort port{iowkit};
};

TEST_F(PortFixture, ClearDisplaySendsTheThreeClearReportsAndBlanksBothModules) {
  port.Position = 3;
  port.DataByte = 'A';
  port.PutChar();
  ASSERT_EQ(model.Shown(), "   A    ");
  iowkit.writes.clear();

  port.DataByte = 0x55;
  port.ClearDisplay();
  EXPECT_EQ(iowkit.Reports(),
            (std::vector<Bytes>{{0x00, 0xFF, 0x00}, {0x00, 0x7F, 0x00}, {0x00, 0xFF, 0x00}}));
  EXPECT_EQ(port.DataByte, 0);
  EXPECT_EQ(port.ControlByte, 0xFF);
  EXPECT_EQ(model.Shown(), "        ");
  for (const auto& w : iowkit.writes) {
    EXPECT_EQ(w.handle, iowkit.open_result);
    EXPECT_EQ(w.pipe, 0U);
  }
}

TEST_F(PortFixture, PutCharSendsTheWiringsSequenceForEveryPosition) {
  // Idle and strobe-low port 0 values per position, as the modules are wired.
  const std::uint8_t idle[8] = {0xFF, 0xDF, 0xBF, 0x9F, 0xFF, 0xF7, 0xEF, 0xE7};
  const std::uint8_t strobe[8] = {0xFB, 0xDB, 0xBB, 0x9B, 0xFD, 0xF5, 0xED, 0xE5};
  const std::string text = "Statusan";
  port.ClearDisplay();
  for (std::uint8_t p = 0; p < 8; ++p) {
    iowkit.writes.clear();
    port.Position = p;
    port.DataByte = static_cast<std::uint8_t>(text[p]);
    port.PutChar();
    const std::uint8_t d = port.DataByte;
    EXPECT_EQ(iowkit.Reports(),
              (std::vector<Bytes>{{0, idle[p], d}, {0, strobe[p], d}, {0, idle[p], d}}))
        << "position " << int{p};
    EXPECT_EQ(port.ControlByte, idle[p]);
    EXPECT_EQ(port.Position, p);
    EXPECT_EQ(port.DataByte, d);
    EXPECT_EQ(model.Shown(), text.substr(0, p + 1U) + std::string(7U - p, ' '));
  }
}

TEST_F(PortFixture, PutCharAtPositionSevenWithA) {
  port.Position = 7;
  port.DataByte = 0x41;
  port.PutChar();
  EXPECT_EQ(iowkit.Reports(),
            (std::vector<Bytes>{{0x00, 0xE7, 0x41}, {0x00, 0xE5, 0x41}, {0x00, 0xE7, 0x41}}));
  EXPECT_EQ(model.Shown(), "       A");
}

TEST_F(PortFixture, EveryCodePassesUnchangedAndTheInvariantsHold) {
  for (int code = 0; code <= 255; ++code) {
    port.ControlByte = static_cast<std::uint8_t>(code);  // whatever came before
    port.DataByte = static_cast<std::uint8_t>(code);
    port.Position = static_cast<std::uint8_t>(code % 8);
    port.PutChar();
    bool lit = false;
    EXPECT_EQ(model.CodeAt(static_cast<std::size_t>(code % 8), &lit), code);
    EXPECT_TRUE(lit);
  }
  port.ClearDisplay();
  ASSERT_EQ(iowkit.writes.size(), 256U * 3 + 3);
  for (std::size_t i = 0; i < iowkit.writes.size(); ++i) {
    const Bytes& r = iowkit.writes[i].bytes;
    ASSERT_EQ(r.size(), 3U);
    EXPECT_EQ(r[0], 0);
    EXPECT_EQ(r[1] & 0x01, 1) << "bit 0 held at 1";
    const bool in_clear = i >= std::size_t{256} * 3;
    if (!in_clear) {
      EXPECT_EQ(r[1] & 0x80, 0x80) << "clear line stays high outside ClearDisplay";
      EXPECT_EQ(r[2], (i / 3) & 0xFF);
    }
    EXPECT_NE(r[1] & 0x06, 0) << "never both strobes low";
  }
}

TEST_F(PortFixture, FailedWritesAreNotRetriedAndAClosedLinkSendsNothing) {
  iowkit.write_result = 0;
  port.ClearDisplay();
  EXPECT_EQ(iowkit.writes.size(), 3U);
  port.DeviceHandle = 0;
  port.PutChar();
  port.ClearDisplay();
  EXPECT_EQ(iowkit.writes.size(), 3U);
}

TEST(DisplayModel, OnlyARisingStrobeEdgeWithTheClearLineHighStoresACode) {
  emulator::DisplayModel model;
  model.SetPorts(0xFF, 'X');  // idle: nothing changes
  EXPECT_EQ(model.Shown(), "        ");
  model.SetPorts(0xFD, 'X');  // right strobe low, address 3
  EXPECT_EQ(model.Shown(), "        ");
  model.SetPorts(0xFF, 'Y');  // rising edge latches what the pins carry now
  EXPECT_EQ(model.Shown(), "    Y   ");
  model.SetPorts(0x7B, 'Z');  // clear low, left strobe low
  EXPECT_EQ(model.Shown(), "        ");
  model.SetPorts(0x7F, 'Z');  // strobe rises while clear is low: nothing stored
  model.SetPorts(0xFF, 'Z');
  EXPECT_EQ(model.Shown(), "        ");
  const std::uint8_t bad_id[3] = {1, 0xFB, 'Q'};
  model.Feed(bad_id, 3);
  EXPECT_EQ(model.ReportsSeen(), 6U) << "a report with another ID never reaches the pins";
}

}  // namespace
