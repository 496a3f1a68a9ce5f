#pragma once

// Asking a console for its current readings: LOOP requests on the link's transport, the
// packets read without ever waiting for a whole one, and the single reading the exports
// and the current command use.

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
// One packet, start to end: -1 when the link or the request fails (the link's error says
// why), -5 when no whole packet arrives within a minute, else the packet's answer.
int ReadOneSensorImage(ConsoleLink& link, SensorImage& image);

}  // namespace stationlink
