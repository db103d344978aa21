#include "session/LoginSequence.h"

#include "session/GameClient.h"

namespace kq {
namespace {

// Closes the link and reports the outcome, in this order, so that the host may start the
// next login as soon as it has the outcome.
void EndSequence(TLoginSession& session, std::uint32_t outcomeCode) {
  session.CloseLink();
  if (TSessionHost* host = session.Host()) host->SequenceEnded(outcomeCode);
}

}  // namespace

void RunLoginSequence(TLoginSession& session) {
  const TSessionSettings& settings = session.Settings();
  const TSessionServices& services = session.Services();
  TSessionHost* const host = session.Host();

  if (!services.Desktop.FileExists(settings.LauncherDir + std::u16string(kGameClientFileName))) {
    services.Desktop.ShowMessage(kMissingClientText, u"Warning", SessionDesktop::Icon::Warning);
    if (host) host->SequenceEnded(outcome::kClientMissing);
    return;
  }

  // A link left from an earlier login.
  if (session.HasSocket()) session.CloseLink();

  session.StatusLine(u"connecting to " + settings.LoginServerIP, kStatusBlack);
  if (!session.OpenLink()) {
    session.DropSocket();
    if (host) host->SequenceEnded(outcome::kNoLink);
    return;
  }
  session.StartListener();
  session.SetStage(TSessionStage::LinkOpen);

  session.Send(BuildHello());
  if (!session.WaitForStage(TSessionStage::HelloReply)) {
    return EndSequence(session, outcome::kNoHelloReply);
  }

  // The keys are the ones the hello reply has just set.
  const AnsiCodec& codec = services.Codec;
  session.Send(BuildLoginRequest(codec.ToAnsi(session.Login), codec.ToAnsi(session.Password),
                                 session.AddKey(), session.XorKey()));
  if (!session.WaitForStage(TSessionStage::LoginResult)) {
    return EndSequence(session, outcome::kNoLoginResult);
  }
  if (const std::uint8_t code = session.ResultCode(); code != 0) {
    return EndSequence(session, RefusedOutcome(code));
  }

  session.Send(BuildWorldListRequest(0));
  if (!session.WaitForStage(TSessionStage::WorldList)) {
    return EndSequence(session, outcome::kNoWorldList);
  }
  // The result code of the world list is the world entry's business: a list is success.
  if (host) host->WorldListReady(session.WorldList());
}

}  // namespace kq
