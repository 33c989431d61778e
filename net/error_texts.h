#pragma once

namespace net {

// The client's own failure texts, exactly as callers and users see them.
inline constexpr char kUnknownProtocol[] = "Unknown Protocol";
inline constexpr char kHostRequired[] = "A Host is required";
inline constexpr char kPortRequired[] = "A Port is required";
inline constexpr char kConnectionClosedGracefully[] = "Connection Closed Gracefully.";
inline constexpr char kReadTimedOut[] = "Read timed out.";
inline constexpr char kMaxLineLengthExceeded[] = "Max line length exceeded.";
inline constexpr char kTooManyHeaderLines[] = "More than 255 header lines.";
inline constexpr char kTooManyInterimReplies[] = "More than 16 interim replies.";
inline constexpr char kBodyTooLarge[] = "Response body larger than 64 MiB.";
inline constexpr char kCouldNotLoadSslLibrary[] = "Could not load SSL library.";
// Followed by CR LF and the TLS library's text.
inline constexpr char kErrorConnectingWithSsl[] = "Error connecting with SSL.";
inline constexpr char kSslEofViolatesProtocol[] = "EOF was observed that violates the protocol";

} // namespace net
