#pragma once
// What a stock engine needs to know of the run it serves: the branch whose
// documents and balances it works on and the installation's variant code,
// whose rules it applies. The screens and the batch command build it; the
// engines never read the session.
namespace pcp {

struct ContextoEstoque {
    int filial = 0;
    int fatModNf = 0;
    // A long run commits in steps of about this many milliseconds (whole
    // products, whole documents), so another workstation saving meanwhile
    // waits a moment instead of failing after the busy wait.
    int passoMs = 250;
};

// The context of the session's branch and installation.
ContextoEstoque contextoDaSessao();

}  // namespace pcp
