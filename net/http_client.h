// The HTTP/1.0 GET client: one fixed request over a blocking TCP connection, the response header
// skipped up to its blank line, and everything after it taken as the body until the server closes
// the connection. Status codes and header fields are not interpreted; a response without a blank
// line has an empty body. There is no receive time-out: a server that neither sends nor closes
// keeps the command waiting.
#pragma once

#include <cstdio>

#include "core/dyn_string.h"
#include "core/types.h"

// The request and every received chunk fit this buffer; chunks are one byte shorter.
constexpr i32 kHttpBufferSize = 1024;
constexpr i32 kHttpChunkSize = kHttpBufferSize - 1;

// Stores the body in `file` (port 0 means 80; the low 16 bits are used): 1 when the server closed
// the connection after the request, 0 on every failure (a reset connection, a write that fails).
// The body arrives in a temporary file beside the target (the existing file whose name matches
// ignoring case, else the name itself) and replaces it only on success, so a failure keeps the old
// copy. "mem://" targets are refused, and so is a request that does not fit the buffer.
i32 HttpGetToFile(const DynString& host, const DynString& path, i32 port, const DynString& file);
// Puts the first `maxLength` body bytes (a negative count is 0) into `out`, cut at the first zero
// byte, and returns it; a failure leaves what had arrived (nothing, when the request failed).
DynString& HttpGetToString(DynString& out, const DynString& host, const DynString& path, i32 port,
                           i32 maxLength);

// The request's bytes, without a terminating NUL, and their count; 0 when path and host do not fit.
i32 FormatHttpRequest(const char* host, const char* path, char (&request)[kHttpBufferSize]);

// The two ways of reading a response on a connected slot, shared by the commands above and by
// their fuzz target. The file gets the body's bytes as they come: 1 when the server closed the
// connection, 0 on a receive error (a reset included) or a failed write. The text is as HttpGetToString describes.
i32 ReceiveHttpBodyToFile(i32 slot, std::FILE* file);
void ReceiveHttpBodyToText(i32 slot, DynString& out, i32 maxLength);
