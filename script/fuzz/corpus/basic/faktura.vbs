Imports "stawki.vbs"
' Faktura VAT: sums the items of the invoice and fills the summary memo
Dim i As Integer, n As Integer = 0
Dim suma As Decimal, podatek As Decimal, opis As String
Dim pozycje[10] As Decimal
Dim ok = True

Function Brutto(netto As Decimal, ByRef podatek As Decimal, ByVal stawka As Integer) As Decimal
  Dim x As Decimal
  podatek = netto * stawka / 100
  Return netto + podatek
End Function

Sub Zeruj
  suma = 0
End Sub

Zeruj
n = <Dane."Ilosc">
For i = 0 To 9
  pozycje[i] = i * 1.5e2
Next
For i = 9 To 0 Step -1
  If i Mod 2 = 0 Then Continue
  suma += pozycje[i]
  If suma > 1000 Then
    Break
  End If
Next
i = 0
While (i < n) And Not ok
  i = i + 1
Wend
Do
  i = i - 1
Loop Until i <= 0
Do
  i++
Loop While i < 3
Select Case n
  Case 1, 2:
    opis = "mało"
  Case 3..5:
    opis = "średnio"
  Case Else:
    opis = "dużo"
End Select
Try
  suma = suma \ 2 Xor 3 Or 0xFF
Catch
  opis = ExceptionMessage
End Try
Try
  ok = (n >= 1) And (n <> 7) Or (opis Is TObject) And (n In [1, 3..5])
Finally
  Exit
End Try
With Report
  Title = "Faktura VAT" & " " & opis
End With
If n = 1 Then
  opis = "jeden"
ElseIf n = 2 Then
  opis = "dwa"
Else
  opis = "inne"
End If
pozycje[0] = -suma
suma *= 2 : suma -= 1 : suma /= 4
Set obj = New TObject
Delete obj
Engine.Fire(AddressOf Zeruj)
rem the summary line
opis = "Razem: " & _
  suma
