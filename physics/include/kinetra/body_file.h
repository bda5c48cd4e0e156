// The body file reader: a little-endian chunked file ("BODY", optional
// "IMGS", "MASS", "CONS", optional "RIGS") read into template records.
//
// The reader never trusts a file: every count is checked against the bytes
// left before anything is allocated, every index against the records it
// names, every float for being finite and every image for loading. Only a
// file that passes all of it yields records; masses and constraints are made
// and registered only after that, so a rejected file leaves the world as it
// was (the current directory aside, which changes to the file's directory as
// soon as the file is opened).
#pragma once

#include "adv_body.h"
#include "body_template.h"

#include <string>

namespace kinetra {

struct TBodyFileRead {
    TmpBodyRef body;   // Null when the file was rejected
    std::string error; // why, naming the chunk, record and field
};

TBodyFileRead ReadBodyFile(const std::string& url);

// The direct loader with its reason for a rejection (error may be null).
AdvBodyRef LoadBodyFile(const std::string& url, std::string* error);

} // namespace kinetra
