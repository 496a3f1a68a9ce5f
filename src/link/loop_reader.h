#pragma once

// Asking a console for its current readings over the link's transport: LOOP requests and
// the packets read without ever waiting for a whole one. The console variants build their
// StartLoop, StopLoop and ReadLoopPacket on these.

#include "link/console_link.h"
#include "link/loop_packet.h"
#include "link/sensor_image.h"
#include "platform/status.h"

namespace stationlink {

// Asks for `count` packets: wakes the console, sends "LOOP n" and expects ACK; the link is
// then in the streaming time-out profile.
platform::Status StartLoopRequest(ConsoleLink& link, int count);
// Stops a running request (the console stops sending) and leaves the link in profile 0.
void StopLoopRequest(ConsoleLink& link);
// Reads what has arrived of the current packet: kLoopDecoded, kLoopIncomplete (wait for the
// next poll), kLoopBadHeader, kLoopCrcError or kLoopReadFailure.
int ReadLoopPacketFrom(ConsoleLink& link, LoopPacketAssembler& assembler, SensorImage& image);

}  // namespace stationlink
