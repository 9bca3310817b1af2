// The WEP key dialog (template 169), shown by the security sub-page for
// authentication type 1: open or shared authentication, the key type, four
// keys with a default one, an optional per-user key, or a passphrase that
// the adapter turns into keys itself.
//
// A key type is a code of two bits, stored as the profile's wepKeyType and
// carried by its entry in the key-type list: bit 0 a text (ASCII) key, bit 1
// a 104/128-bit key. The list offers only the types the string table names.
#pragma once

#include <string>

#include "config/KeyDialog.h"
#include "controls/HexEdit.h"
#include "framework/Controls.h"

class CWepKeyDialog : public CKeyDialog {
public:
    CWepKeyDialog();

    bool StoreToProfile(Profile& profile) override;
    void LoadFromProfile(const Profile& profile) override;
    bool ValidateKeys() override;

    enum : int { kAsciiBit = 1, kLongKeyBit = 2 };
    static constexpr int kKeyCount = 4;
    // The passphrase edit takes what the profile's passphrase field holds.
    static constexpr int kMaxPassphrase = sizeof(Profile::wepPassphrase) - 1;
    // The characters a key of type `code` has: 10, 5, 26 or 13.
    static int KeyLength(int code);

    // The code of the key type selected (0 when the list is empty).
    int SelectedKeyType() const;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(fw::CDataExchange& dx) override;

private:
    DECLARE_MESSAGE_TABLE()

    // The lists and the check box: what the dialog's own handlers move
    // between members and controls. Never the passphrase, so a change of
    // key type or default key is never refused for a text it does not use,
    // and the passphrase edit keeps whatever it holds.
    void ExchangeChoices(fw::CDataExchange& dx);
    void UpdateChoices(bool save);
    void FillDefaultKeyList();
    void FillKeyTypeList();
    void SetKeyText(const std::string& perUser, const std::string* keys);
    void ApplyKeyTypeRules(int code);
    void FixDefaultKeyForType(int code);
    void UsePassphraseStep();

    void OnKeyTypeChanged();
    void OnUsePassphrase();
    void OnDefaultKeyChanged();
    void OnKeyTextChanged();
    LRESULT OnShowWindow(WPARAM wp, LPARAM lp);

    CHexEdit m_perUserEdit;
    CHexEdit m_keyEdit[kKeyCount];
    fw::CComboBox m_authList;
    fw::CComboBox m_defaultKeyList;
    fw::CComboBox m_keyTypeList;
    int m_nAuth = 0;
    int m_nDefaultKey = 0;
    int m_bUsePassphrase = 0;
    int m_nKeyType = 0;
    std::string m_strPassphrase;
};
