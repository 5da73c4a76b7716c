#pragma once

#include "base/ports.h"

#include <QFileInfo>
#include <QMap>
#include <QStringList>

#include <deque>
#include <vector>

// Message boxes answered by the test. Unscripted questions get OK or Yes.
class ScriptedMessageBox final : public IMessageBox {
public:
    struct Call {
        QString prompt;
        int buttons;
        QString title;
    };
    int MsgBox(const QString& prompt, int buttonsAndIcon, const QString& title) override {
        calls.push_back({prompt, buttonsAndIcon, title});
        if (m_answers.empty()) return (buttonsAndIcon & 0x0F) == mb::YesNo ? mb::Yes : mb::OK;
        const int a = m_answers.front();
        m_answers.pop_front();
        return a;
    }

    void answer(int reply) { m_answers.push_back(reply); }
    std::vector<Call> calls;
    QString lastPrompt() const { return calls.empty() ? QString() : calls.back().prompt; }
    QStringList prompts() const {
        QStringList out;
        for (const Call& c : calls) out << c.prompt;
        return out;
    }

private:
    std::deque<int> m_answers;
};

class ScriptedFileDialog final : public IFileDialog {
public:
    OpenFileAnswer ShowOpen(const OpenFileRequest& request) override {
        requests.push_back(request);
        if (m_answers.empty()) return {};
        const QString f = m_answers.front();
        m_answers.pop_front();
        return f.isEmpty() ? OpenFileAnswer{} : OpenFileAnswer{f, QFileInfo(f).fileName()};
    }
    bool ShowPrinter(const QString& title) override {
        printerTitles << title;
        return false;
    }

    void answer(const QString& fileName) { m_answers.push_back(fileName); }  // "" cancels
    std::vector<OpenFileRequest> requests;
    QStringList printerTitles;

private:
    std::deque<QString> m_answers;
};

class RecordingProcessStarter final : public IProcessStarter {
public:
    struct Start {
        QString program;
        QStringList arguments;
    };
    bool startDetached(const QString& program, const QStringList& arguments, QString* error) override {
        starts.push_back({program, arguments});
        if (!succeed && error) *error = QStringLiteral("cannot start %1").arg(program);
        return succeed;
    }

    bool succeed = true;
    std::vector<Start> starts;
};

// The desktop's default application, as the test says it answers.
class ScriptedDesktop final : public IDesktop {
public:
    Open openWithDefaultApplication(const QString& file, QString* error) override {
        opened << file;
        if (answer != Open::Opened && error) *error = QStringLiteral("no application");
        return answer;
    }
    Open answer = Open::NoApplication;
    QStringList opened;
};

class MemoryClipboard final : public IClipboard {
public:
    QString text() override { return m_text; }
    void setText(const QString& text) override {
        m_text = text;
        ++writes;
    }
    void clear() override {
        m_text.clear();
        ++clears;
    }

    int writes = 0;
    int clears = 0;

private:
    QString m_text;
};

class MemorySettings final : public ISettings {
public:
    QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) override {
        return values.value(section + '/' + key, defaultValue);
    }
    void SaveSetting(const QString& section, const QString& key, const QString& value) override {
        values.insert(section + '/' + key, value);
    }
    QString value(const QString& section, const QString& key) const {
        return values.value(section + '/' + key);
    }

    QMap<QString, QString> values;
};

// J sessions that record the commands they are sent.
class RecordingJSessionStarter final : public IJSessionStarter {
public:
    std::unique_ptr<IJSession> start(QString* error) override {
        if (startSucceeds) return std::make_unique<Session>(*this);
        if (error) *error = QStringLiteral("No such file");
        return nullptr;
    }

    bool startSucceeds = true;
    int failAfter = -1;  // commands accepted before the session stops answering; -1 never
    QStringList commands;

private:
    struct Session final : IJSession {
        explicit Session(RecordingJSessionStarter& owner) : owner(owner) {}
        bool send(const QString& line) override {
            if (owner.failAfter >= 0 && owner.commands.size() >= owner.failAfter) return false;
            owner.commands << line;
            return true;
        }
        RecordingJSessionStarter& owner;
    };
};

class ScriptedRegistry final : public IRegistry {
public:
    std::optional<RegistryValue> query(RegistryRoot, const QString& keyName,
                                       const QString& valueName) override {
        const auto it = values.find(keyName + '|' + valueName);
        return it == values.end() ? std::nullopt : std::optional(*it);
    }
    void set(const QString& keyName, const QString& valueName, RegistryValue v) {
        values[keyName + '|' + valueName] = v;
    }

    QMap<QString, RegistryValue> values;
};
