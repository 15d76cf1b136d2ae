#pragma once

#include <QObject>

#include <memory>

// The test objects of dialogs_tests, one per dialog; the main runs each in turn.
std::unique_ptr<QObject> makeComponentPropertiesDialogTest();
std::unique_ptr<QObject> makeAttachObjectDialogTest();
std::unique_ptr<QObject> makeAttachmentPropertiesDialogTest();
std::unique_ptr<QObject> makeAnimationDialogTest();
