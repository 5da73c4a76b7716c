#include "support/fake_ports.h"

#include <QFileInfo>

int ScriptedMessageBox::MsgBox(const QString& prompt, int buttonsAndIcon, const QString& title) {
    calls.push_back({prompt, buttonsAndIcon, title});
    if (!m_answers.empty()) {
        const int a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    return (buttonsAndIcon & 0x0F) == mb::YesNo ? mb::Yes : mb::OK;
}

OpenFileAnswer ScriptedFileDialog::ShowOpen(const OpenFileRequest& request) {
    requests.push_back(request);
    if (m_answers.empty()) return {};
    const QString f = m_answers.front();
    m_answers.pop_front();
    if (f.isEmpty()) return {};
    return {f, QFileInfo(f).fileName()};
}

bool ScriptedFileDialog::ShowPrinter(const QString& title) {
    printerTitles << title;
    return false;
}

bool RecordingProcessStarter::startDetached(const QString& program, const QStringList& arguments,
                                            QString* error) {
    starts.push_back({program, arguments});
    if (!succeed && error) *error = QStringLiteral("cannot start %1").arg(program);
    return succeed;
}

QString MemorySettings::GetSetting(const QString& section, const QString& key, const QString& defaultValue) {
    return values.value(section + '/' + key, defaultValue);
}

void MemorySettings::SaveSetting(const QString& section, const QString& key, const QString& value) {
    values.insert(section + '/' + key, value);
}

std::optional<RegistryValue> ScriptedRegistry::query(RegistryRoot, const QString& keyName,
                                                     const QString& valueName) {
    auto it = values.find(keyName + '|' + valueName);
    if (it == values.end()) return std::nullopt;
    return *it;
}

namespace {
class RecordingJSession final : public IJSession {
public:
    explicit RecordingJSession(RecordingJSessionStarter& owner) : m_owner(owner) {}
    bool send(const QString& line) override {
        if (m_owner.failAfter >= 0 && m_owner.commands.size() >= m_owner.failAfter) return false;
        m_owner.commands << line;
        return true;
    }

private:
    RecordingJSessionStarter& m_owner;
};
}  // namespace

std::unique_ptr<IJSession> RecordingJSessionStarter::start(QString* error) {
    if (!startSucceeds) {
        if (error) *error = QStringLiteral("No such file");
        return nullptr;
    }
    return std::make_unique<RecordingJSession>(*this);
}
