// An OFX 1.02 bank statement around the given <STMTTRN> elements, as a bank sends it: the SGML
// header, the sign-on and the statement envelope libofx needs before it reports transactions.
#pragma once

#include <string>

inline std::string OfxStatement(const std::string& transactions)
{
    return "OFXHEADER:100\r\nDATA:OFXSGML\r\nVERSION:102\r\nSECURITY:NONE\r\nENCODING:USASCII\r\nCHARSET:1252\r\n"
           "COMPRESSION:NONE\r\nOLDFILEUID:NONE\r\nNEWFILEUID:NONE\r\n\r\n"
           "<OFX><SIGNONMSGSRSV1><SONRS><STATUS><CODE>0<SEVERITY>INFO</STATUS><DTSERVER>20250310<LANGUAGE>ENG</SONRS>"
           "</SIGNONMSGSRSV1><BANKMSGSRSV1><STMTTRNRS><TRNUID>1<STATUS><CODE>0<SEVERITY>INFO</STATUS><STMTRS><CURDEF>USD"
           "<BANKACCTFROM><BANKID>123<ACCTID>456<ACCTTYPE>CHECKING</BANKACCTFROM><BANKTRANLIST><DTSTART>20250301"
           "<DTEND>20250310" +
           transactions +
           "</BANKTRANLIST><LEDGERBAL><BALAMT>100.00<DTASOF>20250310</LEDGERBAL></STMTRS></STMTTRNRS></BANKMSGSRSV1>"
           "</OFX>\r\n";
}
