#include "dictionary/dictionary_window.h"

#include "base/app_state.h"
#include "dictionary/frmdicdisp.h"

void ShowDictionary(AppState& app, bool modal) {
    frmDicDisp& f = app.form<frmDicDisp>();
    const bool open = f.isLoaded() && f.isVisible();
    if (open && f.isMinimized()) f.showNormal();
    if (!modal || (open && f.isModal())) {
        f.Show();  // an open window only comes forward
        return;
    }
    if (open) {
        // Open without modality while a modal window asks for it: a modeless
        // window would sit behind that window's modality, out of reach.
        f.hide();
    }
    f.ShowModal();
}
