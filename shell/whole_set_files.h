#pragma once
// The main window's commands on the whole colour-data set: open and save it
// as a colour-data file (".ktd"), send such a file to the printer, write the
// table command file (".ktt"), send every table to the printer at once and
// update the firmware from a ROM data file. Each is registered for its menu
// item; the main window runs it when the item is chosen.
//
// Every file dialog opens in LastDir, and the folder of a chosen file becomes
// the next LastDir. A file that cannot be read or sent as a whole is reported
// as "FileOpen Error" before anything of it goes to the printer, one that
// cannot be written (the saved set, the table command file, "JmTbl.tmp") as
// "FileSave Error"; a printer that does not take a transfer is reported as
// "Printer not responding". A transfer that succeeds says nothing.

namespace WholeSetFiles {

void mnuCtlOpenData_Click();
void mnuCtlSaveData_Click();
void mnuCtlWriteData_Click();
void mnuCtlSaveData2_Click();
void mnuCtlWriteAll_Click();
void mnuOptionFlashProgram_Click();

}  // namespace WholeSetFiles
