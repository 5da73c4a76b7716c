#pragma once

#include "base/ports.h"

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
    int MsgBox(const QString& prompt, int buttonsAndIcon, const QString& title) override;

    void answer(int reply) { m_answers.push_back(reply); }
    std::vector<Call> calls;
    QString lastPrompt() const { return calls.empty() ? QString() : calls.back().prompt; }

private:
    std::deque<int> m_answers;
};

class ScriptedFileDialog final : public IFileDialog {
public:
    OpenFileAnswer ShowOpen(const OpenFileRequest& request) override;
    bool ShowPrinter(const QString& title) override;

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
    bool startDetached(const QString& program, const QStringList& arguments, QString* error) override;

    bool succeed = true;
    std::vector<Start> starts;
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
    QString GetSetting(const QString& section, const QString& key, const QString& defaultValue) override;
    void SaveSetting(const QString& section, const QString& key, const QString& value) override;
    bool has(const QString& section, const QString& key) const {
        return values.contains(section + '/' + key);
    }
    QString value(const QString& section, const QString& key) const {
        return values.value(section + '/' + key);
    }

    QMap<QString, QString> values;
};

// J sessions that record the commands they are sent.
class RecordingJSessionStarter final : public IJSessionStarter {
public:
    std::unique_ptr<IJSession> start(QString* error) override;

    bool startSucceeds = true;
    int failAfter = -1;  // commands accepted before the session stops answering; -1 never
    QStringList commands;
};

class ScriptedRegistry final : public IRegistry {
public:
    std::optional<RegistryValue> query(RegistryRoot root, const QString& keyName,
                                       const QString& valueName) override;
    void set(const QString& keyName, const QString& valueName, RegistryValue v) {
        values[keyName + '|' + valueName] = v;
    }

    QMap<QString, RegistryValue> values;
};
