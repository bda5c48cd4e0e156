/// @file
/// The body file reader: a little-endian chunked file ("BODY", optional
/// "IMGS", "MASS", "CONS", optional "RIGS") read into template records.
///
/// The reader never trusts a file: every count is checked against the bytes
/// left before anything is allocated, every index against the records it
/// names, every float for being finite and every image for loading. Only a
/// file that passes all of it yields records; masses and constraints are made
/// and registered only after that, so a rejected file leaves the world as it
/// was (the current directory aside, which changes to the file's directory as
/// soon as the file is opened).
#pragma once

#include "adv_body.h"
#include "body_template.h"

#include <string>

namespace kinetra {

/// What ReadBodyFile made of a file: its template, or why there is none.
struct TBodyFileRead {
    TmpBodyRef body; ///< The template with its images loaded; Null when the file was rejected.
    std::string
        error; ///< Why it was rejected, naming the chunk, record and field; empty otherwise.
};

/// Reads a body file into a template (images loaded, nothing registered):
/// the reader under TTmpBody::Load and TAdvBody::LoadTemplate. Never throws;
/// changes the current directory to the file's directory once it is found.
TBodyFileRead ReadBodyFile(const std::string& url);

/// The direct loader (TAdvBody::Load) with its reason for a rejection: the
/// built and registered body, or Null with the reason in *error (error may be
/// null). Never throws; a rejected file leaves the world as it was.
AdvBodyRef LoadBodyFile(const std::string& url, std::string* error);

} // namespace kinetra
