#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace ostrel {

// Wire format of the ECU link: request frames of 5 to 22 bytes ending in two check bytes, and replies of 19 bytes
// whose first byte checks the other 18, which arrive last data byte first.

inline constexpr std::uint8_t oplivesite = 0x90;
inline constexpr std::uint8_t oplivevalues = 0x91;
inline constexpr std::uint8_t opwindowdata = 0x93;
inline constexpr std::uint8_t opramwrite = 0x80;
inline constexpr std::uint8_t oprowwrite = 0x81;
inline constexpr std::uint8_t oprowread = 0x82;

inline constexpr int maxframelength = 22;
inline constexpr int liveframelength = 5;
inline constexpr int writeframelength = 22;
inline constexpr int readframelength = 7;
inline constexpr int replylength = 19;
inline constexpr int replydatabytes = 18;

// ECU RAM that receives the two halves of a live request table.
inline constexpr std::uint16_t requestlist0address = 0x6DB0;
inline constexpr std::uint16_t requestlist1address = 0x6DC0;

using TxFrame = std::array<std::uint8_t, maxframelength>;
// rxframe(0..17) are the data bytes of a reply, rxframe(18) its check byte.
using RxFrame = std::array<std::uint8_t, replylength>;

// Writes the two check bytes into frame[len - 2] and frame[len - 1]: the byte sum of frame[0..len-3] and the sum
// of the products of neighbouring bytes from frame[0] to frame[len-3], both modulo 256.
void addframechecks(std::uint8_t* frame, int len);

// The request builders fill the frame without its check bytes and return its length.
int buildliveframe(TxFrame& frame, std::uint8_t op, std::uint8_t map);
int buildramwriteframe(TxFrame& frame, std::uint16_t address, std::span<const std::uint8_t, 16> data);
// Image row r (0 to 2047) lies at ECU address 0x8000 + 16 r.
int buildrowwriteframe(TxFrame& frame, int row, std::span<const std::uint8_t, 16> data);
// Reads name the row by page 60 + r div 1024, r div 16 and (r mod 16) * 16.
int buildrowreadframe(TxFrame& frame, int row);

// Decodes the 19 bytes of a reply as they came off the wire into rxframe order and returns the sum of the data
// bytes modulo 256 (the reply is intact when it equals rxframe[18]).
int decodereply(std::span<const std::uint8_t, replylength> wire, RxFrame& rxframe);

// The wire bytes of a reply with these 18 data bytes (what the ECU sends).
std::array<std::uint8_t, replylength> encodereply(std::span<const std::uint8_t, replydatabytes> data);

}  // namespace ostrel
