// ryx-creator: the chart editor's window.
//
//   ryx-creator [FILE]          FILE.mid/.midi/.rmi opens the conversion dialog ready for it;
//                               FILE.ryx opens the chart.
//   ryx-creator --startup-time  prints the time from start to the shown window, then quits.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QSplashScreen>
#include <cstdio>

#include "AppSettings.h"
#include "CMainFrame.h"
#include "Logo.h"
#include "RegistryKey.h"
#include "ToolsPalette.h"
#include "io/DataFolder.h"
#include "io/PathText.h"
#include "io/TempDirectory.h"
#include "midi_import/MidiInfoManager.h"
#include "playback/SystemPorts.h"
#include "playback/WavRenderer.h"

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName("RYX Creator");
    QApplication::setOrganizationName("FENWOLT");

    AppFolders folders;
    folders.data = DefaultDataFolder(argv[0]);
    folders.home = PathFromText(QDir::homePath().toStdString());
    CMidiInfoManager instruments;
    if (!CMidiInfoManager::Read(folders.data / "Instlist.txt", instruments)) {
        QMessageBox::critical(nullptr, "RYX Creator", QString::fromUtf8("Instlist.txt를 찾을 수 없습니다."));
        return 1;
    }
    std::optional<TempDirectory> temp = TempDirectory::Create();
    if (!temp) {
        QMessageBox::critical(nullptr, "RYX Creator",
                              "Unable to create a private folder for temporary files.");
        return 1;
    }
    folders.temp = temp->Path();

    // The logo shows until the main window is ready.
    QSplashScreen splash(LoadLogo(folders.data));
    splash.show();
    QApplication::processEvents();

    // The SoundFont: the "SOUNDFONT" setting, else RYX_SOUNDFONT, else the system's; the audio
    // driver: RYX_AUDIO_DRIVER, else the "AUDIODRIVER" setting, else the first that opens.
    std::string audioDriver;
    RegistryKey().GetString("AUDIODRIVER", audioDriver);
    CMainFrame frame(folders, instruments,
                     std::make_unique<SoundEngine>(SystemPorts(AppSettings::ChosenSoundFont(RegistryKey()), audioDriver)));
    frame.show();
    frame.Palette()->show();
    splash.finish(&frame);
    QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1 && arguments[1] == "--startup-time") {
        // From main() to the main window painted on screen, then quit.
        QApplication::processEvents();
        frame.repaint();
        std::printf("start-up to a shown window: %lld ms\n", static_cast<long long>(sinceStart.elapsed()));
        return 0;
    }
    if (arguments.size() > 1) frame.OpenFile(PathFromText(arguments[1].toStdString()));
    return app.exec();
}
