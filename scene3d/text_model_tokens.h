// The lexical layer of "DDDA" text models: tokens separated by blanks, tabs and line ends, "#"
// comments, and every value read as a C-locale strtod number narrowed to f32. The reader of the
// model's layout (text_model_reader.h) takes its values from here.
#pragma once

#include "core/types.h"

struct FileChannel;

// The token buffer every reader hands in: a token is kept up to 1023 bytes, the rest of a longer
// token is consumed and dropped.
inline constexpr i32 kDddTokenBufferBytes = 1024;

// Reads the next token of the channel (a file, or a memory block) into tokenBuffer, terminated,
// and returns its value; with no token left the buffer is empty and the value 0. A "#" ends the
// token before it, and the comment it opens runs to the next line feed among the 512 bytes that
// follow it; without one, reading resumes at the 513th byte.
f32 ReadDddToken(char* tokenBuffer, FileChannel* channel);

// The bytes the channel has not handed out yet.
i32 DddChannelRemaining(const FileChannel* channel);
