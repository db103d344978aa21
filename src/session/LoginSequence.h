// The login: client file check, link, hello, login request, world list, reported to the
// session's host.
#pragma once

#include "session/LoginSession.h"

namespace kq {

// The body of the worker thread that the host starts for each login. It ends with exactly
// one of the host's WorldListReady or SequenceEnded; after success the link stays open for
// the world entry, after a failure it is closed before SequenceEnded.
void RunLoginSequence(TLoginSession& session);

}  // namespace kq
