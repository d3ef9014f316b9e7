#pragma once

#include <vector>

class QWidget;

namespace tallivo {

class CipherPage;
struct PageContext;

// Returns the workbench's pages, one per cipher, in the order of their tabs, made with
// parent: adding a cipher to the workbench is adding its page here.
std::vector<CipherPage*> CreateCipherPages(const PageContext& context, QWidget* parent);

} // namespace tallivo
