// The console operations a variant does not implement answer "not supported".
#include "link/console_link.h"

namespace stationlink {

using platform::Result;
using platform::Status;

Result<DumpAfterResult> ConsoleLink::DumpAfter(std::uint16_t, std::uint16_t) {
  return notSupported("DumpAfter");
}
Status ConsoleLink::ReadArchivePage(std::uint8_t, std::uint8_t&, std::size_t) {
  return notSupported("ReadArchivePage");
}
Status ConsoleLink::AllocateDownloadBuffers(std::size_t) {
  return notSupported("AllocateDownloadBuffers");
}
Status ConsoleLink::NewSetup() { return notSupported("NewSetup"); }
Result<std::uint8_t> ConsoleLink::ReadSetupBits() { return notSupported("ReadSetupBits"); }
Status ConsoleLink::WriteSetupBits(std::uint8_t) { return notSupported("WriteSetupBits"); }
Status ConsoleLink::EepromWriteByte(std::uint16_t, std::uint8_t) {
  return notSupported("EepromWriteByte");
}
Status ConsoleLink::EepromRead(std::span<std::uint8_t>, std::uint16_t) {
  return notSupported("EepromRead");
}
Result<std::uint8_t> ConsoleLink::EepromReadByte(std::uint16_t) {
  return notSupported("EepromReadByte");
}
Result<TransmitterList> ConsoleLink::ReadTransmitterList() {
  return notSupported("ReadTransmitterList");
}
Result<TransmitterType> ConsoleLink::ReadTransmitterType(int) {
  return notSupported("ReadTransmitterType");
}
Status ConsoleLink::WriteTransmitterType(int, int, int, int, int) {
  return notSupported("WriteTransmitterType");
}
Result<int> ConsoleLink::FindWindTransmitter() { return notSupported("FindWindTransmitter"); }
Result<FirmwareDate> ConsoleLink::GetFirmwareDate() { return notSupported("GetFirmwareDate"); }
Status ConsoleLink::SetGmtOffset(int) { return notSupported("SetGmtOffset"); }
Result<ConsoleTime> ConsoleLink::GetTime() { return notSupported("GetTime"); }
Status ConsoleLink::SetTime(const ConsoleTime&) { return notSupported("SetTime"); }
Status ConsoleLink::StartLoop(int) { return notSupported("StartLoop"); }
Status ConsoleLink::StopLoop() { return notSupported("StopLoop"); }
Status ConsoleLink::GetSensorImage(SensorImage&) { return notSupported("GetSensorImage"); }
Result<int> ConsoleLink::ReadLoopPacket(SensorImage&) { return notSupported("ReadLoopPacket"); }
Result<HiLowsBlock> ConsoleLink::ReadHiLows() { return notSupported("ReadHiLows"); }
Result<int> ConsoleLink::GetArchiveInterval() { return notSupported("GetArchiveInterval"); }
Status ConsoleLink::SetArchiveInterval(int) { return notSupported("SetArchiveInterval"); }
Status ConsoleLink::ClearArchive() { return notSupported("ClearArchive"); }
Result<int> ConsoleLink::GetElevation() { return notSupported("GetElevation"); }
Status ConsoleLink::PutRain(int) { return notSupported("PutRain"); }
Status ConsoleLink::ClearHighs(int) { return notSupported("ClearHighs"); }
Status ConsoleLink::ClearLows(int) { return notSupported("ClearLows"); }
Status ConsoleLink::ClearGraphs() { return notSupported("ClearGraphs"); }
Status ConsoleLink::ClearAlarms() { return notSupported("ClearAlarms"); }
Status ConsoleLink::ClearCalibration() { return notSupported("ClearCalibration"); }
Status ConsoleLink::ClearCurrentValue(int) { return notSupported("ClearCurrentValue"); }
Status ConsoleLink::SetBarometer(int, int) { return notSupported("SetBarometer"); }
Result<CalibrationBlock> ConsoleLink::ReadCalibration() { return notSupported("ReadCalibration"); }
Status ConsoleLink::WriteCalibration(const CalibrationBlock&) {
  return notSupported("WriteCalibration");
}
Result<CalibratedReadingsBlock> ConsoleLink::ReadCalibratedReadings() {
  return notSupported("ReadCalibratedReadings");
}
Status ConsoleLink::WriteCalibratedReadings(const CalibratedReadingsBlock&) {
  return notSupported("WriteCalibratedReadings");
}
Result<int> ConsoleLink::GetRainCollector() { return notSupported("GetRainCollector"); }
Status ConsoleLink::SetRainCollector(int) { return notSupported("SetRainCollector"); }
Result<int> ConsoleLink::GetWindCupSize() { return notSupported("GetWindCupSize"); }
Status ConsoleLink::SetWindCupSize(int) { return notSupported("SetWindCupSize"); }
Result<int> ConsoleLink::GetLatitude() { return notSupported("GetLatitude"); }
Result<int> ConsoleLink::GetLongitude() { return notSupported("GetLongitude"); }
Status ConsoleLink::SetLatLong(int, int) { return notSupported("SetLatLong"); }
Result<AlarmThresholdBlock> ConsoleLink::ReadAlarmThresholds() {
  return notSupported("ReadAlarmThresholds");
}
Status ConsoleLink::WriteAlarmThresholds(const AlarmThresholdBlock&) {
  return notSupported("WriteAlarmThresholds");
}
Result<ReceptionCounts> ConsoleLink::ReceptionCheck() { return notSupported("ReceptionCheck"); }
Result<std::string> ConsoleLink::ReadBarometerData() { return notSupported("ReadBarometerData"); }

}  // namespace stationlink
