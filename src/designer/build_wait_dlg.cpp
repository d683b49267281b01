#include "designer/build_wait_dlg.h"

#include <commctrl.h>

#include "disc/progress_text.h"

void CBuildWaitDlg::Show(const vk::BuildProgress& progress) {
    if (static_cast<int>(progress.stage) != m_stage) {
        m_stage = static_cast<int>(progress.stage);
        SetItemText(IDC_WAIT_LABEL, vk::ProgressCaption(progress.stage));
    }
    SetItemText(IDC_WAIT_TEXT, progress.item);
    if (!m_cancel)
        SetItemText(IDC_WAIT_COUNTS, vk::ProgressCounts(progress));
    const int perMille = vk::ProgressPerMille(progress);
    if (perMille == m_perMille)
        return;
    // While the pages are counted the total is not known: the bar only shows that work goes on.
    const HWND bar = GetDlgItem(IDC_WAIT_BAR);
    const LONG style = ::GetWindowLongW(bar, GWL_STYLE);
    if ((perMille < 0) != ((style & PBS_MARQUEE) != 0)) {
        ::SetWindowLongW(bar, GWL_STYLE, perMille < 0 ? style | PBS_MARQUEE : style & ~PBS_MARQUEE);
        ::SendMessageW(bar, PBM_SETMARQUEE, perMille < 0, 50);
    }
    if (perMille >= 0) {
        ::SendMessageW(bar, PBM_SETRANGE32, 0, 1000);
        ::SendMessageW(bar, PBM_SETPOS, perMille, 0);
    }
    m_perMille = perMille;
}

void CBuildWaitDlg::OnCancel() {
    m_cancel = true;
    SetItemText(IDC_WAIT_COUNTS, "Cancelling ...");
    EnableItem(IDCANCEL, false);
}
