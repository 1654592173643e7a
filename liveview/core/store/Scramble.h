#pragma once

// The store's shift-and-reverse of user names and passwords, in place over the first length
// bytes. Bytes 0..5 and 128..255 are never shifted, so a byte of 6..10 comes back as 11..15:
// such texts are refused where they are entered (see UssFields.h). Both return 1.
int ScrambleString(char* text, int length);
int UnscrambleString(char* text, int length);
