#include "page_registry.h"

#include "caesar_page.h"
#include "substitution_page.h"
#include "vigenere_page.h"

namespace tallivo {

std::vector<CipherPage*> CreateCipherPages(const PageContext& context, QWidget* parent) {
    return {
        new CaesarPage(context, parent),
        new SubstitutionPage(context, parent),
        new VigenerePage(context, parent),
    };
}

} // namespace tallivo
