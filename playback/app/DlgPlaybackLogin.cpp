#include "playback/app/DlgPlaybackLogin.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/ui/widgets/DialogFont.h"
#include "common/ui/widgets/MakeControl.h"
#include "common/ui/widgets/MessageBoxSeam.h"

namespace {

constexpr QSize kDialogSize(390, 165);

QString FromUtf8(const std::string& text) { return QString::fromStdString(text); }

// The captions stand left of the edits, 50 pixels before them: a caption wider than that is
// narrowed to fit rather than run under its edit.
constexpr int kCaptionRoom_px = 50;

void FitCaption(QLabel* label) {
    QFont font = label->parentWidget()->font();
    const int natural = QFontMetrics(font).horizontalAdvance(label->text());
    if (natural > kCaptionRoom_px) font.setStretch(font.stretch() * kCaptionRoom_px / natural);
    label->setFont(font);
}

// Where a text goes in a list kept in order regardless of case.
int SortedIndex(const QComboBox* box, const QString& text) {
    int index = 0;
    while (index < box->count() &&
           QString::compare(box->itemText(index), text, Qt::CaseInsensitive) <= 0) {
        ++index;
    }
    return index;
}

}  // namespace

DlgPlaybackLogin::DlgPlaybackLogin(const std::string& program_folder, QWidget* parent)
    : QDialog(parent),
      program_folder_(program_folder),
      settings_(program_folder),
      login_(settings_, lookup_client_),
      server_label_(MakeStaticText(this, "server_label", {20, 30, 60, 30})),
      user_label_(MakeStaticText(this, "user_label", {20, 60, 60, 30})),
      password_label_(MakeStaticText(this, "password_label", {20, 90, 60, 30})),
      server_box_(MakeControl<QComboBox>(this, "server", {70, 26, 300, 20})),
      user_edit_(MakeControl<QLineEdit>(this, "user", {70, 56, 180, 20})),
      password_edit_(MakeControl<QLineEdit>(this, "password", {70, 86, 180, 20})),
      ok_button_(MakeControl<QPushButton>(this, "ok", {130, 130, 60, 20})),
      cancel_button_(MakeControl<QPushButton>(this, "cancel", {200, 130, 60, 20})) {
    setFixedSize(kDialogSize);
    setFont(DialogFont());
    server_box_->setEditable(true);
    server_box_->setInsertPolicy(QComboBox::NoInsert);
    password_edit_->setEchoMode(QLineEdit::Password);
    ok_button_->setDefault(true);
    connect(server_box_, &QComboBox::activated, this, &DlgPlaybackLogin::OnSelchangeServer);
    connect(ok_button_, &QPushButton::clicked, this, &DlgPlaybackLogin::OnOK);
    connect(cancel_button_, &QPushButton::clicked, this, &QDialog::reject);
}

int DlgPlaybackLogin::SetNetCtrl(NetCtrl* connection) { return login_.SetNetCtrl(connection); }

int DlgPlaybackLogin::DoModal() {
    OnInitDialog();
    return exec();
}

bool DlgPlaybackLogin::OnInitDialog() {
    texts_.Load(program_folder_, LanguageFileFor(settings_.GetLanguage()));

    setWindowTitle(FromUtf8(Tr("Login_word6")));
    server_label_->setText(FromUtf8(Tr("Login_word3")));
    user_label_->setText(FromUtf8(Tr("Login_word1")));
    password_label_->setText(FromUtf8(Tr("Login_word2")));
    ok_button_->setText(FromUtf8(Tr("Set_word9")));
    cancel_button_->setText(FromUtf8(Tr("Set_word8")));
    for (QLabel* label : {server_label_, user_label_, password_label_})
        FitCaption(label);

    saved_ = ReadSavedServers(settings_);
    server_box_->clear();
    for (int i = 0; i < CConfigFile::kRingSize; ++i) {
        if (saved_.entries[i].empty()) continue;
        const QString server = FromUtf8(saved_.servers[i]);
        server_box_->insertItem(SortedIndex(server_box_, server), server);
    }
    server_box_->setEditText(FromUtf8(saved_.servers[0]));
    user_edit_->setText(FromUtf8(saved_.users[0]));
    password_edit_->clear();
    return true;
}

void DlgPlaybackLogin::OnSelchangeServer(int index) {
    if (index < 0) return;
    const int slot = FindSavedServer(saved_, server_box_->itemText(index).toStdString());
    if (slot >= 0) user_edit_->setText(FromUtf8(saved_.users[slot]));
}

void DlgPlaybackLogin::OnOK() {
    const LoginOutcome outcome = login_.Confirm(texts_, user_edit_->text().toStdString(),
                                                password_edit_->text().toStdString(),
                                                server_box_->currentText().toStdString());
    if (!outcome.message.empty()) ShowMessageBox(this, FromUtf8(outcome.message));
    if (outcome.accepted) accept();
}
