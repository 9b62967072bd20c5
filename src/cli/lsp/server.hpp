#pragma once

#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace bivox::lsp {

// Serves the Language Server Protocol over the two streams until the client's exit
// notification or the end of the input; gives the exit status: 0 after a shutdown
// request, else 1. Diagnostics are published from a thread of their own.
int serve(std::istream& in, std::ostream& out);

// serve() on standard input and output, made ready for it: binary, untied, and writes to a
// client that went away fail instead of ending the process.
int serve_stdio();

// The file a "file:" URI names (percent escapes decoded, "/c:/x" as "c:/x"); nothing for
// other URIs.
std::optional<std::string> file_path(std::string_view uri);

}  // namespace bivox::lsp
