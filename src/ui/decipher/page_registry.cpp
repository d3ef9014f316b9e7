#include "page_registry.h"

#include "affine_page.h"
#include "autokey_page.h"
#include "beaufort_page.h"
#include "caesar_page.h"
#include "identification_page.h"
#include "playfair_page.h"
#include "substitution_page.h"
#include "transposition_page.h"
#include "vigenere_page.h"

namespace tallivo {

std::vector<CipherPage*> CreateCipherPages(const PageContext& context, QWidget* parent) {
    // "Che cifrario è?" first: the tab a new text opens on.
    return {
        new IdentificationPage(context, parent), new CaesarPage(context, parent),
        new AffinePage(context, parent),         new SubstitutionPage(context, parent),
        new VigenerePage(context, parent),       new BeaufortPage(context, parent),
        new AutokeyPage(context, parent),        new TranspositionPage(context, parent),
        new PlayfairPage(context, parent),
    };
}

} // namespace tallivo
