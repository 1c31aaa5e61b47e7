#include "check_extensions_dialog.h"

#include "registry_classes_tree.h"
#include "resource_ids.h"

namespace plyvane {

CCheckExtensionsDialog::CCheckExtensionsDialog(FileTypeCheck& check)
    : Dialog(IDD_FILE_TYPES), check_(check) {}

BOOL CCheckExtensionsDialog::OnInitDialog() {
    int result = FileTypeCheck::kClosedUnseen;
    if (!check_.NeedsQuestion(result)) {
        EndDialog(result);
        return TRUE;
    }
    ::SendDlgItemMessageA(Handle(), IDC_FILE_TYPES_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconA(nullptr, IDI_QUESTION)), 0);
    ::SetForegroundWindow(Handle());
    return TRUE;
}

void CCheckExtensionsDialog::OnCommand(int id, int code, HWND control) {
    (void)control;
    switch (id) {
    case IDOK:  // "Yes"
        EndDialog(check_.AnswerYes(Handle()));
        break;
    case IDCANCEL:  // "No", Escape or the close box
        EndDialog(FileTypeCheck::kNotRegistered);
        break;
    case IDC_DO_NOT_ASK_AGAIN:
        if (code == BN_CLICKED) {
            SetDoNotAskAgain(::IsDlgButtonChecked(Handle(), id) == BST_CHECKED);
        }
        break;
    default:
        break;
    }
}

INT_PTR RunFileTypeCheck(HWND owner, const char* programPath) {
    RegistryClassesTree classesRoot = RegistryClassesTree::ClassesRoot();
    RegistryClassesTree userClasses = RegistryClassesTree::UserClasses();
    FileTypeCheck check(classesRoot, userClasses, programPath != nullptr ? programPath : "");
    CCheckExtensionsDialog dialog(check);
    return dialog.DoModal(owner);
}

}  // namespace plyvane
