#pragma once

#include <stdexcept>

// The two run-time errors of the core: an index or position outside its buffer or table, and a
// number that does not fit the type it is converted to. Both are thrown before anything is
// written, so a caller that catches them finds every buffer and table as it was.
struct SubscriptOutOfRange : std::out_of_range {
    using std::out_of_range::out_of_range;
};

struct NumberOverflow : std::overflow_error {
    using std::overflow_error::overflow_error;
};

// A file that cannot be read, created or written, or that does not fit where it must go. The
// windows report it as "FileOpen Error", apart from a printer that did not answer.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file that cannot be created or written: the windows report it as "FileSave Error".
struct FileWriteError : FileError {
    using FileError::FileError;
};
