' Rachunek Piekarni Kłos: lines, VAT, totals and the thousands word
Dim ilosci[5], ceny[5]
Dim i, sztuk, netto, vat, opis

Function Tysiace(n)
  Select Case n Mod 10
    Case 1:
      Return "tysiąc"
    Case 2..4:
      Return "tysiące"
    Case Else:
      Return "tysięcy"
  End Select
End Function

Function Silnia(n)
  If n <= 1 Then
    Return 1
  End If
  Return n * Silnia(n - 1)
End Function

Sub Dodaj(ByRef suma, kwota)
  suma = suma + kwota
End Sub

ilosci[1] = 12 : ilosci[2] = 3 : ilosci[3] = 40 : ilosci[4] = 1
ceny[1] = 4.5 : ceny[2] = 18 : ceny[3] = 0.75 : ceny[4] = 120
netto = 0
sztuk = 0
For i = 1 To 4
  If ilosci[i] = 1 Then Continue
  Dodaj(netto, ilosci[i] * ceny[i])
  sztuk = sztuk + ilosci[i]
Next
vat = netto * 8 / 100
ShowMessage(netto)
ShowMessage(vat)
ShowMessage(sztuk)
For i = 1 To 5
  ShowMessage(Tysiace(i))
Next
ShowMessage(Silnia(6))
opis = "Chleb"
opis[1] = "c"
ShowMessage(opis & " x" & 2)
Try
  sztuk = sztuk \ (sztuk - sztuk)
Catch
  ShowMessage(ExceptionMessage)
End Try
i = 0
Do
  i = i + 7
Loop Until i > 30
ShowMessage(i)
ShowMessage((netto > 100) And (sztuk In [50..60]))
