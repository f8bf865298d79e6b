#pragma once
// Helpers for raw C strings.

// A malloc'd copy of `text` (release it with free); null for null or when memory runs out.
char* gnewstr(const char* text);

// The first occurrence of `pattern` in `text`, ignoring case; `text` itself for an empty pattern, null when absent.
const char* gstristr(const char* text, const char* pattern);

// strtod that also accepts '.' as the decimal point whatever the locale's is. `end` receives the address behind
// the number.
double gstr2d(const char* text, char** end);
