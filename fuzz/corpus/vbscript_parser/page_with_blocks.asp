<%@ Language=VBScript %>
<% Option Explicit
Dim rs, i : Const MAX = &H10
Class Cart
  Private m_items()
  Public Default Property Get Item(ByVal i) : Item = m_items(i) : End Property
  Property Let Item(i, v) : m_items(i) = v : End Property
  Sub Class_Initialize() : ReDim m_items(MAX) : End Sub
End Class
Set rs = Server.CreateObject("ADODB.Recordset")
If rs.EOF Then %>
<p>none</p>
<% Else
  For i = 0 To 10 Step 2 : Response.Write rs("name") & "<br>" : Next
End If %>
<%= Now() %>