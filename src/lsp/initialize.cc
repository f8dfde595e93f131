// The initialize handshake: what the server takes of what the client
// offers.
#include "lsp/features.h"

namespace zemuc::lsp {

Session agree(const ClientOffer& offer, Language fallback) {
  Session session;
  session.language =
      offer.locale ? language_of_locale(*offer.locale) : fallback;
  if (offer.utf8_positions) session.encoding = PositionEncoding::kUtf8;
  session.snippets = offer.snippets;
  session.markdown = offer.markdown;
  session.hierarchical_symbols = offer.hierarchical_symbols;
  return session;
}

}  // namespace zemuc::lsp
